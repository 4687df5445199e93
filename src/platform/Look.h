#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace platform {

// Background of picture boxes, frames and buttons of the main, About, exam and evaluation
// windows.
inline QColor PanelColour() {
    return QColor(224, 223, 227);
}

void FillBackground(QWidget* widget, const QColor& colour = PanelColour());

// Controls carry their documented names, so that tests and other windows find them.
template <class Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace platform

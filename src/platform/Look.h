#pragma once

#include <QColor>
#include <QString>

#include <initializer_list>
#include <utility>

class QObject;
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

// Names each control of a window's list of single controls.
void NameEach(std::initializer_list<std::pair<QObject*, const char*>> controls);

// Element k of a control array is named "name_k"; slots the window leaves empty are skipped.
template <class Widgets>
void NameItems(const Widgets& widgets, const char* name, int first = 0) {
    int k = first;
    for (auto* widget : widgets) {
        if (widget) widget->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k));
        ++k;
    }
}

}  // namespace platform

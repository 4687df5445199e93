#pragma once

#include <QColor>

namespace platform {

// Background of picture boxes, frames and buttons of the main, About, exam and evaluation
// windows.
inline QColor PanelColour() {
    return QColor(224, 223, 227);
}

}  // namespace platform

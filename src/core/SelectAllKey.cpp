#include "core/SelectAllKey.h"

#include <QKeyEvent>
#include <QLineEdit>

bool SelectAllOnKey(QLineEdit& box, const QKeyEvent& event) {
    if (!event.matches(QKeySequence::SelectAll)) return false;
    box.selectAll();
    return true;
}

#pragma once

#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include "support/GuiTestSupport.h"

namespace testsupport {

// Types at the end of the note, then selects the line back to its start with Shift+Home, as a
// user marks what they have just written.
inline void typeAndSelectLine(QTextEdit* box, const QString& text) {
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    typeText(box, text);
    QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
}

}  // namespace testsupport

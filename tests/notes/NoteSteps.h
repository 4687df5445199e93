#pragma once

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
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

// Puts a table nested `depth` deep around "deep" on the clipboard, as old web pages lay out,
// with "deep" as its text.
inline void putNestedTablesOnClipboard(int depth) {
    auto* data = new QMimeData;
    QString html;
    for (int k = 0; k < depth; ++k)
        html += QStringLiteral("<table><tr><td>");
    data->setHtml(html + QStringLiteral("deep"));
    data->setText(QStringLiteral("deep"));
    QApplication::clipboard()->setMimeData(data);
}

}  // namespace testsupport

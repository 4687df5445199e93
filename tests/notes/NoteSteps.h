#pragma once

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <cstdint>
#include <string>

#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "support/GuiTestSupport.h"
#include "support/TempProgramFolder.h"

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

// Writes the question's note file as it is given.
inline void WriteNoteFile(std::int32_t questionId, const std::string& page) {
    WriteFile(mod_MyNotes::NotePath(questionId), formats::Bytes(page.begin(), page.end()));
}

// A notes editor at the size the browser tabs give it, shown.
struct ShownNotesEditor {
    NotesEditor editor;
    ShownNotesEditor() {
        editor.resize(470, 300);
        editor.show();
    }
    QTextEdit& text() { return *editor.Contents(); }
};

}  // namespace testsupport

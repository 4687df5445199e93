#pragma once

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageReader.h"
#include "pages/PageRefusals.h"
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

// For its lifetime every page a box would try is recorded and accepted: the widths of each
// request, in turn.
class TriedWidths {
public:
    TriedWidths()
        : previous_(page_reader::SetTrial(
              [this](const page_trial::TrialRequest& request, page_trial::Standing) {
                  requests_.push_back(request.widths);
                  return std::optional<page_refusals::Refusal>();
              })) {}
    ~TriedWidths() { page_reader::SetTrial(previous_); }
    TriedWidths(const TriedWidths&) = delete;
    TriedWidths& operator=(const TriedWidths&) = delete;

    [[nodiscard]] std::size_t count() const { return requests_.size(); }
    // Whether the last page was tried at the box's width now and at the narrowest its minimum
    // lets it take (both without the scroll bar).
    [[nodiscard]] bool lastTriedAsShownAndNarrowest(const QTextEdit& box) const {
        if (requests_.empty() || box.minimumWidth() <= 0) return false;
        const std::vector<int>& widths = requests_.back();
        const QMargins frame = box.contentsMargins();
        const int narrowest = box.minimumWidth() - frame.left() - frame.right();
        const auto has = [&widths](int width) {
            return std::find(widths.begin(), widths.end(), width) != widths.end();
        };
        return has(box.contentsRect().width()) && has(narrowest);
    }

private:
    std::vector<std::vector<int>> requests_;
    page_reader::Trial previous_;
};

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

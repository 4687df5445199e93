#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/AppPaths.h"
#include "notes/NotePaste.h"
#include "notes/NoteSteps.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PageReader.h"
#include "pages/PageRefusals.h"
#include "pages/PageTrial.h"
#include "platform/FontColorDialogs.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "support/GuiTestSupport.h"
#include "support/Repeated.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace {

using testsupport::Repeated;

constexpr std::int32_t kNote = 9;
constexpr const char* kNotPasted = "This cannot be pasted into the note:";

using page_refusals::Cause;
using page_refusals::Subject;

// The box's sentence for a refusal: its heading, then the reason.
std::string notPasted(const std::string& reason) {
    return std::string(kNotPasted) + "\r\n\r\n" + reason;
}

// A refusal for taking too long, whose budget the build sets.
std::string tooSlow(Subject subject) {
    return page_refusals::Reason(
        {Cause::kTooSlow, static_cast<std::uint64_t>(page_trial::kLayoutBudget.count())}, subject);
}

std::string body(const std::string& inside) {
    return "<html><body>" + inside + "</body></html>";
}

std::string nestedTables(std::size_t depth, const std::string& inner) {
    return Repeated("<table><tr><td>", depth) + inner + Repeated("</td></tr></table>", depth);
}

std::string link(const std::string& address, const std::string& text) {
    return "<a href=\"" + address + "\">" + text + "</a>";
}

std::string fileText(const std::filesystem::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int tablesIn(const QTextFrame& frame) {
    int count = qobject_cast<const QTextTable*>(&frame) ? 1 : 0;
    for (const QTextFrame* child : frame.childFrames())
        count += tablesIn(*child);
    return count;
}

// What the user sees of a note: its text, which of it is bold, how many tables.
struct Seen {
    std::string text;
    std::string bold;
    int tables = 0;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* os) {
    *os << "{text \"" << seen.text << "\", bold \"" << seen.bold << "\", tables " << seen.tables
        << "}";
}

Seen seen(const QTextDocument& document) {
    Seen out{document.toPlainText().toStdString(), {}, tablesIn(*document.rootFrame())};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                out.bold += it.fragment().text().toStdString();
    return out;
}

struct NotePasteTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;

    static void writeNote(const std::string& page) { testsupport::WriteNoteFile(kNote, page); }
};

// With the note loaded.
struct ShownEditor : testsupport::ShownNotesEditor {
    ShownEditor() {
        mod_MyNotes::LoadMyNotes(kNote, editor);
        text().document()->documentLayout()->documentSize();
    }
    QString html() { return text().document()->toHtml(); }
    // Whether the note is as it was loaded: the same page, nothing to undo, nothing to save.
    bool asLoaded(const QString& loaded) {
        return html() == loaded && !text().document()->isModified() &&
               !text().document()->isUndoAvailable();
    }
    // For a bounded child: whether the note is as loaded, then what each box said.
    std::string outcome(const QString& loaded, const testsupport::ScriptedMessageBoxes& answered) {
        std::string said = asLoaded(loaded) ? "unchanged" : "changed";
        for (const testsupport::ShownBox& box : answered.shown())
            said += "\n" + box.text;
        return said;
    }
    void pasteAtEnd(QMimeData* data) {
        QApplication::clipboard()->setMimeData(data);
        text().setFocus();
        text().moveCursor(QTextCursor::End);
        text().paste();
    }
    // The cursor at the first place of `what`, plus `offset`.
    QTextCursor at(const QString& what, int offset = 0) {
        QTextCursor found = text().document()->find(what);
        EXPECT_FALSE(found.isNull()) << what.toStdString();
        found.setPosition(found.selectionStart() + offset);
        return found;
    }
    // How this editor reads and judges a note's pages.
    page_reader::PageBox box() {
        return page_reader::BoxOf(text(),
                                  {page_trial::PictureRule::kAnywhere, AppPaths::MyNotesFolder()});
    }
};

using Formats = std::vector<std::pair<QString, QByteArray>>;

// The formats in the order an application offers them; "urls" (one a line) and "picture" as
// Qt's own setters put them on the clipboard.
QMimeData* offer(const Formats& formats) {
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : formats) {
        if (format == u"urls") {
            QList<QUrl> urls;
            for (const QByteArray& line : bytes.split('\n'))
                urls.append(QUrl(QString::fromUtf8(line)));
            data->setUrls(urls);
        } else if (format == u"picture") {
            QImage picture(4, 4, QImage::Format_RGB32);
            picture.fill(Qt::red);
            data->setImageData(picture);
        } else {
            data->setData(format, bytes);
        }
    }
    return data;
}

const QString kMarkdown = QStringLiteral("text/markdown");
const QString kRichText = QStringLiteral("application/x-qrichtext");
const QString kHtml = QStringLiteral("text/html");
const QString kText = QStringLiteral("text/plain");

// Each format Qt's editor reads comes in, in the order it reads them, with its formatting.
TEST_F(NotePasteTest, EachFormatComesInWithItsFormattingWhenItFits) {
    struct Row {
        const char* what;
        Formats formats;
        Seen after;  // the note "before" with the paste at its end
    };
    const Row rows[] = {
        {"a Markdown table offered first",
         {{kMarkdown, "| a | b |\n|---|---|\n| 1 | 2 |\n"}, {kText, "a b 1 2"}},
         {"before\na\nb\n1\n2\n", "ab", 1}},
        {"Markdown bold offered first",
         {{kMarkdown, "**bold** plain"}, {kText, "bold plain"}},
         {"beforebold plain", "bold", 0}},
        {"Markdown offered after HTML: the HTML comes in",
         {{kHtml, "<b>html</b>"}, {kMarkdown, "**markdown**"}},
         {"beforehtml", "html", 0}},
        {"Qt's rich text, read as UTF-8 before the HTML offered with it",
         {{kHtml, QByteArray::fromStdString(nestedTables(13, "html"))},
          {kRichText, QStringLiteral("<b>rich \u00e9\u03a9</b>").toUtf8()}},
         {"beforerich \u00e9\u03a9", "rich \u00e9\u03a9", 0}},
        {"HTML",
         {{kHtml, "<p><b>bold</b> and <table><tr><td>cell</table>"}},
         {"beforebold and \ncell\n", "bold", 1}},
        {"plain text, markup and all",
         {{kText, "<b>not bold</b>"}},
         {"before<b>not bold</b>", "", 0}},
        {"a list of addresses alone",
         {{QStringLiteral("urls"), "https://example.org/a?b=c\nfile:///tmp/notes/x.html"}},
         {"beforehttps://example.org/a?b=c\nfile:///tmp/notes/x.html\n", "", 0}},
        // Qt's own editor takes nothing from a picture alone; neither does the note.
        {"a picture alone", {{QStringLiteral("picture"), {}}}, {"before", "", 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote("<p>before</p>");
        ShownEditor shown;
        ASSERT_FALSE(shown.editor.NoteUnreadable());
        shown.pasteAtEnd(offer(row.formats));
        EXPECT_EQ(seen(*shown.text().document()), row.after);
        boxes.expectNone();
        boxes.clear();
    }
}

// What cannot be shown in time is refused whatever its format, before Qt reads it: the note
// stays as it was and the box says why. Run bounded: a slip would read the Markdown table
// for over a minute.
TEST_F(NotePasteTest, EachFormatIsRefusedWhenItCannotBeShown) {
    struct Row {
        const char* what;
        Formats formats;
        int answer;  // kOk to a notice, kNo to the offer of the text alone
        std::string reason;
    };
    const std::string tablesTooDeep =
        "What you pasted has tables inside tables more than 10 levels deep. Fewer tables inside "
        "one another would fit.";
    const QByteArray deep = QByteArray::fromStdString(nestedTables(13, "deep"));
    const Row rows[] = {
        {"a Markdown table of 21,000 columns offered first",
         {{kMarkdown, QByteArray::fromStdString(Repeated("| a ", 21'000) + "|\n" +
                                                Repeated("|---", 21'000) + "|\n")},
          {kText, "a a a"}},
         platform::kNo,
         tooSlow(Subject::kPaste)},
        {"13 nested tables as Qt's rich text, with harmless HTML",
         {{kRichText, deep}, {kHtml, "<p>harmless</p>"}},
         platform::kOk,
         tablesTooDeep},
        {"13 nested tables as HTML", {{kHtml, deep}}, platform::kOk, tablesTooDeep},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote("<p>before</p>");
        std::string failure;
        const auto outcome = testsupport::RunBoundedWithQt(
            [&row] {
                testsupport::ScriptedMessageBoxes answered;
                answered.queue(row.answer);
                ShownEditor shown;
                const QString loaded = shown.html();
                shown.pasteAtEnd(offer(row.formats));
                return shown.outcome(loaded, answered);
            },
            failure);
        ASSERT_TRUE(outcome) << failure;
        EXPECT_EQ(outcome->substr(0, outcome->find('\n')), "unchanged");
        EXPECT_EQ(occurrences(*outcome, kNotPasted), 1u) << *outcome;
        EXPECT_NE(outcome->find(notPasted(row.reason)), std::string::npos) << *outcome;
    }
}

// A paste is judged as the note it joins would be saved: two links of 4 MB data: URLs each
// fit alone but not together (and are no pictures), and pages that fit alone make one over
// 16 MB. Once refused, the note saves as before.
TEST_F(NotePasteTest, APasteIsJudgedTogetherWithTheNoteItJoins) {
    struct Row {
        const char* what;
        std::string noted;   // the address the note's link holds
        std::string pasted;  // that of the link pasted
        const char* reason;
    };
    const Row rows[] = {
        {"data: URLs over 6 MB together", "data:text/plain," + std::string(4 << 20, 'd'),
         "data:text/plain," + std::string(4 << 20, 'e'),
         "With what you pasted, the note would hold 8.0 MB of data in the addresses of its "
         "links, more than the 6 MB a note may hold. Shorter links would fit."},
        {"a page over 16 MB", "https://example.org/" + std::string(9 << 20, 'h'),
         "https://example.org/" + std::string(8 << 20, 'i'),
         "With what you pasted, the note would be 17.0 MB, more than the 16 MB a note may "
         "hold. Shorter text or less formatting would fit."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote(body("<p>before " + link(row.noted, "link") + " after</p>"));
        ShownEditor shown;
        ASSERT_FALSE(shown.editor.NoteUnreadable()) << shown.text().toPlainText().toStdString();
        const QString loaded = shown.html();
        boxes.queue(platform::kOk);
        shown.pasteAtEnd(offer({{kHtml, QByteArray::fromStdString(link(row.pasted, "pasted"))}}));
        EXPECT_TRUE(shown.asLoaded(loaded));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, notPasted(row.reason));
        boxes.clear();

        QTest::keyClicks(&shown.text(), "x");
        ASSERT_TRUE(mod_MyNotes::SaveMyNotes(kNote, shown.editor));
        boxes.expectNone();
        const std::string saved = fileText(mod_MyNotes::NotePath(kNote));
        EXPECT_EQ(occurrences(saved, row.noted), 1u);
        EXPECT_EQ(occurrences(saved, row.pasted.substr(0, 40)), 0u);
        EXPECT_NE(saved.find("afterx</"), std::string::npos);
    }
}

// The whole table the cursor is in, outermost, selected.
QTextCursor wholeTable(QTextCursor inside) {
    QTextTable* table = inside.currentTable();
    while (table && qobject_cast<QTextTable*>(table->parentFrame()))
        table = qobject_cast<QTextTable*>(table->parentFrame());
    if (!table) return inside;
    inside.setPosition(table->firstPosition() - 1);
    inside.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    return inside;
}

// Drags over the box and drops at the cursor's place, as a user's drop arrives, or as one
// dragged from the note itself with `action` when `from` is its editor; what the drop tells
// the drag's source it did (IgnoreAction: nothing, so a move keeps its text).
Qt::DropAction dropAt(QTextEdit& box, const QMimeData& data, const QTextCursor& at,
                      NotesEditor* from = nullptr, Qt::DropAction action = Qt::MoveAction) {
    const QPoint point = box.cursorRect(at).center();
    EXPECT_EQ(box.cursorForPosition(point).position(), at.position());
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &move);
    QDropEvent drop(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    if (from) {
        drop.setDropAction(action);
        from->DropFromItsOwnText(drop);
    } else {
        QApplication::sendEvent(box.viewport(), &drop);
    }
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

const std::string kDeepAndShallow =
    body("<p>between</p>" + nestedTables(10, "target") + "<p>after</p>" +
         "<table border=1><tr><td>moved</td></tr></table><p>end</p>");

// A drop into the note is judged as the note it would make: a table dropped into a cell ten
// deep is refused, and the note stays as it was with nothing to undo. Offscreen Qt has no
// drag in progress, so a drop here names no source and Qt takes it as a copy: the move's own
// refusal (before Qt takes the text out) is judged in AMoveIsJudgedAsTheNoteItLeaves and
// ARefusedMoveWithinTheNoteLeavesItAsItWas.
TEST_F(NotePasteTest, ADropThatWouldBeRefusedLeavesTheNoteAsItWas) {
    struct Row {
        const char* what;
        bool table;          // the table around "moved", else the word "between"
        const char* reason;  // nullptr when it lands
    };
    const Row rows[] = {
        {"a word into the deepest cell", false, nullptr},
        {"a table into the deepest cell", true,
         "With what you pasted, the note would have tables inside tables more than 10 levels "
         "deep. Fewer tables inside one another would fit."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote(kDeepAndShallow);
        ShownEditor shown;
        ASSERT_FALSE(shown.editor.NoteUnreadable());
        const QString loaded = shown.html();
        const QTextCursor dragged = row.table
                                        ? wholeTable(shown.at(QStringLiteral("moved")))
                                        : shown.text().document()->find(QStringLiteral("between"));
        shown.text().setTextCursor(dragged);
        QMimeData data;
        data.setHtml(QTextDocumentFragment(dragged).toHtml());
        data.setText(dragged.selectedText());
        if (row.reason) boxes.queue(platform::kNo);
        const Qt::DropAction taken =
            dropAt(shown.text(), data, shown.at(QStringLiteral("target"), 6));
        const std::string cell = shown.at(QStringLiteral("target")).block().text().toStdString();
        if (row.reason) {
            EXPECT_TRUE(shown.asLoaded(loaded));
            EXPECT_EQ(cell, "target");
            EXPECT_EQ(taken, Qt::IgnoreAction);
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(
                boxes.shown()[0].text,
                notPasted(row.reason) + "\r\n\r\nPaste its text alone, without its formatting?");
            boxes.clear();
        } else {
            EXPECT_EQ(cell, "targetbetween");
            EXPECT_NE(taken, Qt::IgnoreAction);
            boxes.expectNone();
        }
    }
}

// A move within the note that would be refused is refused before Qt takes its text out: the
// note stays as it was, the drop tells its source nothing was taken, and the user is told why
// (no offer of the text alone, which a move would leave where it was). The same drop as a copy
// takes the paste's road, which offers it.
TEST_F(NotePasteTest, ARefusedMoveWithinTheNoteLeavesItAsItWas) {
    struct Row {
        const char* what;
        Qt::DropAction action;
        int style;  // of the one box shown
    };
    const Row rows[] = {
        {"a table moved into a cell ten deep", Qt::MoveAction, platform::kExclamation},
        {"the same table copied there", Qt::CopyAction, platform::kYesNo | platform::kQuestion},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote(kDeepAndShallow);
        ShownEditor shown;
        ASSERT_FALSE(shown.editor.NoteUnreadable());
        const QString loaded = shown.html();
        const QTextCursor dragged = wholeTable(shown.at(QStringLiteral("moved")));
        shown.text().setTextCursor(dragged);
        QMimeData data;
        data.setHtml(QTextDocumentFragment(dragged).toHtml());
        data.setText(dragged.selectedText());
        boxes.queue(row.action == Qt::MoveAction ? platform::kOk : platform::kNo);
        const Qt::DropAction taken = dropAt(
            shown.text(), data, shown.at(QStringLiteral("target"), 6), &shown.editor, row.action);
        EXPECT_TRUE(shown.asLoaded(loaded));
        EXPECT_EQ(taken, Qt::IgnoreAction);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].style, row.style);
        EXPECT_NE(boxes.shown()[0].text.find("tables inside tables more than 10 levels deep"),
                  std::string::npos)
            << boxes.shown()[0].text;
        boxes.clear();
    }
}

// A move is judged as the note it leaves: the text taken out where it was and put in where
// it lands, both places as they were before either change.
TEST_F(NotePasteTest, AMoveIsJudgedAsTheNoteItLeaves) {
    struct Row {
        const char* what;
        std::string note;
        const char* selected;  // a table is taken whole
        const char* landing;
        int offset;                   // from the start of `landing`
        bool moved;                   // else copied
        std::optional<Cause> reason;  // nullopt when it fits
        const char* text;             // the page's text then, its lines run together
    };
    const std::string dataLink =
        body("<p>before " + link("data:text/plain," + std::string(4 << 20, 'd'), "link") +
             " after</p><p>end</p>");
    const std::string words = "<p>one two three</p>";
    const Row rows[] = {
        {"a table moved into a cell ten deep", kDeepAndShallow, "moved", "target", 6, true,
         Cause::kTablesTooDeep, nullptr},
        {"a word moved into a cell ten deep", kDeepAndShallow, "between", "target", 6, true,
         std::nullopt, "targetbetweenaftermovedend"},
        {"a 4 MB data: link moved to the end", dataLink, "link", "end", 3, true, std::nullopt,
         "before  afterendlink"},
        {"the same link copied", dataLink, "link", "end", 3, false, Cause::kLinkData, nullptr},
        {"a word moved back", words, "three", "one", 0, true, std::nullopt, "threeone two "},
        {"a word moved on", words, "one ", "three", 5, true, std::nullopt, "two threeone "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote(row.note);
        ShownEditor shown;
        ASSERT_FALSE(shown.editor.NoteUnreadable());
        const QTextCursor found = shown.text().document()->find(QString::fromUtf8(row.selected));
        const QTextCursor taken =
            found.currentTable() ? wholeTable(shown.at(QString::fromUtf8(row.selected))) : found;
        note_paste::Insertion landing;
        landing.anchor = landing.position =
            shown.at(QString::fromUtf8(row.landing), row.offset).position();
        if (row.moved) landing.movedOut = std::pair(taken.selectionStart(), taken.selectionEnd());
        const std::string page =
            note_paste::JoinedPage(*shown.text().document(), landing, QTextDocumentFragment(taken));
        const auto refusal =
            page_reader::JudgePage(page, shown.box(), page_trial::Standing::kComingIn);
        if (row.reason) {
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->cause, *row.reason);
            continue;
        }
        EXPECT_FALSE(refusal) << static_cast<int>(refusal->cause);
        QTextDocument joined;
        joined.setHtml(platform::toQt(page));
        EXPECT_EQ(joined.toPlainText().remove(u'\n').toStdString(), row.text);
    }
}

// Pasted text takes the format the caret holds (a size chosen before typing), and is judged
// in it: 16,000 words at 500 points make a page Qt never finishes laying out. Run bounded: a
// slip freezes the editor.
TEST_F(NotePasteTest, PastedTextIsJudgedInTheFormatTheCaretHolds) {
    struct Row {
        const char* what;
        std::string text;
        bool refused;
    };
    const Row rows[] = {
        {"a few words", "x x x", false},
        {"16,000 words", Repeated("x ", 16'000), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeNote("<p>before</p>");
        std::string failure;
        const auto outcome = testsupport::RunBoundedWithQt(
            [&row] {
                testsupport::ScriptedMessageBoxes answered;
                if (row.refused) answered.queue(platform::kOk);
                const auto previous = platform::SetFontChooser(
                    [](const platform::FontChoice& initial, QWidget* /*owner*/) {
                        platform::FontChoice large = initial;
                        large.font.setPointSize(500);
                        return std::optional(large);
                    });
                ShownEditor shown;
                const QString loaded = shown.html();
                shown.text().setFocus();
                shown.text().moveCursor(QTextCursor::End);
                shown.editor.ButtonClick(QStringLiteral("font"));
                platform::SetFontChooser(previous);
                // Where the size was chosen: moving the caret would drop it.
                QApplication::clipboard()->setMimeData(
                    offer({{kText, QByteArray::fromStdString(row.text)}}));
                shown.text().paste();
                std::string said = shown.outcome(loaded, answered);
                if (!shown.asLoaded(loaded)) {
                    const QTextCursor pasted = shown.at(QStringLiteral("x"), 1);
                    said += ", at " + std::to_string(qRound(pasted.charFormat().fontPointSize())) +
                            " pt";
                }
                return said;
            },
            failure);
        ASSERT_TRUE(outcome) << failure;
        const std::string first = outcome->substr(0, outcome->find('\n'));
        if (row.refused) {
            EXPECT_EQ(first, "unchanged");
            EXPECT_EQ(occurrences(*outcome, kNotPasted), 1u) << *outcome;
            EXPECT_NE(outcome->find(notPasted(tooSlow(Subject::kNoteWithPaste))), std::string::npos)
                << *outcome;
        } else {
            EXPECT_EQ(*outcome, "changed, at 500 pt");
        }
    }
}
}  // namespace

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/AppPaths.h"
#include "notes/NoteFormatting.h"
#include "notes/NotesContextMenu.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "pages/PagePictures.h"
#include "platform/FontColorDialogs.h"
#include "platform/FontDialog.h"
#include "platform/Printing.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace {

using mod_MyNotes::LoadMyNotes;
using mod_MyNotes::SaveMyNotes;
using testsupport::ModalWatcher;

std::string fileText(const std::filesystem::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

// Answers the font and colour dialogs from the test and records what they were shown.
struct ScriptedDialogs {
    std::optional<platform::FontChoice> fontAnswer;
    std::optional<QColor> colourAnswer;
    std::optional<platform::FontChoice> fontShown;
    std::optional<QColor> colourShown;
    platform::FontChooser previousFont;
    platform::ColorChooser previousColour;

    ScriptedDialogs() {
        previousFont =
            platform::SetFontChooser([this](const platform::FontChoice& initial, QWidget*) {
                fontShown = initial;
                return fontAnswer;
            });
        previousColour = platform::SetColorChooser([this](const QColor& initial, QWidget*) {
            colourShown = initial;
            return colourAnswer;
        });
    }
    ~ScriptedDialogs() {
        platform::SetFontChooser(previousFont);
        platform::SetColorChooser(previousColour);
    }
};

struct NotesEditorTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;
    ScriptedDialogs dialogs;
    NotesContextMenu menu;
    NotesEditor editor;

    void SetUp() override {
        editor.resize(400, 300);
        editor.show();
        LoadMyNotes(7, editor);
    }

    QTextEdit& text() { return *editor.Contents(); }
    bool pressed(const char* key) { return editor.Button(QLatin1String(key))->isChecked(); }
    bool enabled(const char* key) { return editor.Button(QLatin1String(key))->isEnabled(); }

    // Three paragraphs "one", "two", "three".
    void writeThreeParagraphs() {
        text().setFocus();
        for (const char* line : {"one", "two", "three"}) {
            if (line[0] != 'o') QTest::keyClick(&text(), Qt::Key_Return);
            testsupport::typeText(&text(), QLatin1String(line));
        }
    }
    void selectParagraphs(int first, int last) {
        QTextCursor cursor(text().document()->findBlockByNumber(first));
        const QTextBlock end = text().document()->findBlockByNumber(last);
        cursor.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
        text().setTextCursor(cursor);
    }
};

}  // namespace

TEST_F(NotesEditorTest, ToolbarHasFifteenPositionsWithTheirKeysAndTips) {
    const QList<QAction*> positions = editor.Toolbar()->actions();
    ASSERT_EQ(positions.size(), 15);
    const char* keys[] = {nullptr,  "print", "preview", nullptr, "undo", "redo",  nullptr, "left",
                          "center", "right", "bullet",  nullptr, "font", "color", nullptr};
    const char* tips[] = {nullptr,   "Print", "Print Preview", nullptr,        "Undo",
                          "Redo",    nullptr, "Align Left",    "Align Center", "Align Right",
                          "Bullets", nullptr, "Font",          "Font Color",   nullptr};
    for (int k = 0; k < 15; ++k) {
        SCOPED_TRACE(k + 1);
        QAction* position = positions[k];
        EXPECT_EQ(position->isSeparator(), keys[k] == nullptr);
        if (!keys[k]) continue;
        EXPECT_EQ(position->objectName(), QLatin1String(keys[k]));
        EXPECT_EQ(position->toolTip(), QLatin1String(tips[k]));
        EXPECT_FALSE(position->icon().isNull());
    }
    EXPECT_EQ(editor.Button(QStringLiteral("Print")), nullptr);
}

TEST_F(NotesEditorTest, NonAsciiTextSurvivesSaveAndLoad) {
    const QString typed = QStringLiteral("Ω € ") + QString::fromUcs4(U"\U0001F600");
    text().setFocus();
    testsupport::typeText(&text(), typed);
    EXPECT_TRUE(SaveMyNotes(7, editor));
    const std::string file = fileText(mod_MyNotes::NotePath(7));
    EXPECT_NE(file.find("&#937; \x80 &#128512;"), std::string::npos);
    EXPECT_EQ(file.find("charset"), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");

    NotesEditor other;
    LoadMyNotes(7, other);
    EXPECT_EQ(other.Contents()->toPlainText(), typed);
}

TEST_F(NotesEditorTest, TextTypedBelowATableOrARuleReadsBackWhereItShows) {
    struct Case {
        const char* page;
        const char* keys;  // typed at the end; '\n' presses Return
    };
    const Case cases[] = {
        {"<table><tr><td>cell</td></tr></table>", "typed  twice spaced "},
        {"<table><tr><td>cell</td></tr></table>", "\ntyped"},
        {"<table><tr><td>cell</td></tr></table>bare <b>text</b>", " typed"},
        {"<table><tr><td>a<table><tr><td>inner</td></tr></table></td></tr></table>", "typed"},
        // Broken markup that leaves an empty line atop a cell above its text, and one below a
        // table whose cells are empty above more text: lines Qt would not read back.
        {"<td><tr><>a", "typed"},
        {"<td><tr></table><p>b", "typed"},
        {"<p>above</p><hr>", "typed"},
        {"<hr>", "typed"},
    };
    const std::filesystem::path note = mod_MyNotes::NotePath(8);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " + " + c.keys);
        const std::string page = c.page;
        testsupport::WriteFile(note, formats::Bytes(page.begin(), page.end()));
        LoadMyNotes(8, editor);
        text().setFocus();
        text().moveCursor(QTextCursor::End);
        for (const char* key = c.keys; *key; ++key) {
            if (*key == '\n')
                QTest::keyClick(&text(), Qt::Key_Return);
            else
                testsupport::typeText(&text(), QString(QLatin1Char(*key)));
        }
        const std::string shown = text().toPlainText().toStdString();
        ASSERT_TRUE(SaveMyNotes(8, editor));

        NotesEditor other;
        LoadMyNotes(8, other);
        EXPECT_EQ(other.Contents()->toPlainText().toStdString(), shown);
    }
}

TEST_F(NotesEditorTest, StartStatesAfterALoad) {
    // Blank page: nothing can be typed, nothing is printable.
    NotesEditor blank;
    EXPECT_TRUE(blank.Contents()->isReadOnly());
    EXPECT_FALSE(blank.Button(QStringLiteral("print"))->isEnabled());
    EXPECT_FALSE(blank.LoadedQuestionId());

    testsupport::WriteFile(mod_MyNotes::NotePath(8),
                           formats::Bytes{'<', 'p', ' ', 'a', 'l', 'i', 'g', 'n', '=', 'c', 'e',
                                          'n', 't', 'e', 'r', '>', 'h', 'i', '<', '/', 'p', '>'});
    LoadMyNotes(8, editor);
    EXPECT_FALSE(text().isReadOnly());
    EXPECT_TRUE(enabled("print"));
    EXPECT_TRUE(enabled("preview"));
    EXPECT_FALSE(enabled("undo"));
    EXPECT_FALSE(enabled("redo"));
    for (const char* key : {"left", "center", "right", "bullet"})
        EXPECT_FALSE(pressed(key)) << key;
    text().moveCursor(QTextCursor::End);
    EXPECT_TRUE(pressed("center"));

    // A picture alone: not empty, printable from the first release on.
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    text().document()->addResource(QTextDocument::ImageResource, QUrl("mem:pic"), image);
    text().clear();
    text().textCursor().insertImage(QStringLiteral("mem:pic"));
    editor.UpdateNotesToolbar();
    EXPECT_FALSE(editor.IsNoteEmpty());
    EXPECT_TRUE(enabled("print"));
}

TEST_F(NotesEditorTest, AlignmentCommandsAndPressedStates) {
    writeThreeParagraphs();
    selectParagraphs(0, 0);
    editor.ButtonClick(QStringLiteral("center"));
    EXPECT_EQ(text().document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_TRUE(enabled("undo"));
    EXPECT_TRUE(pressed("center"));

    selectParagraphs(2, 2);
    editor.ButtonClick(QStringLiteral("right"));
    EXPECT_TRUE(pressed("right"));
    EXPECT_FALSE(pressed("center"));

    // Mixed alignments: none pressed; uniform again after aligning them all.
    selectParagraphs(0, 2);
    EXPECT_FALSE(pressed("left") || pressed("center") || pressed("right"));
    editor.ButtonClick(QStringLiteral("left"));
    EXPECT_TRUE(pressed("left"));
    selectParagraphs(1, 1);
    EXPECT_TRUE(pressed("left"));

    // A key that differs only in letter case runs nothing.
    editor.ButtonClick(QStringLiteral("Center"));
    EXPECT_TRUE(pressed("left"));

    editor.ButtonClick(QStringLiteral("undo"));
    EXPECT_TRUE(enabled("redo"));
    selectParagraphs(0, 2);
    EXPECT_FALSE(pressed("left"));
}

// While a text box replaces its page it hands out a cursor of no document: it has no
// alignment and no bullets. Read in a bounded child, so that a slip fails this test, not the run.
TEST_F(NotesEditorTest, ACursorOfNoPageHasNoAlignmentAndNoBullets) {
    const std::string note = "<p align=\"center\">one</p><ul><li>two</li></ul>";
    testsupport::WriteFile(mod_MyNotes::NotePath(8), formats::Bytes(note.begin(), note.end()));
    std::string failure;
    const auto read = testsupport::RunBoundedWithQt(
        [this] {
            // The note's page is replaced in place by the text of an unreadable note.
            LoadMyNotes(8, editor);
            std::filesystem::remove(mod_MyNotes::NotePath(8));
            std::filesystem::create_directory(mod_MyNotes::NotePath(8));
            std::string first;
            QObject::connect(text().document(), &QTextDocument::contentsChanged, [this, &first] {
                const QTextCursor cursor = text().textCursor();
                if (!cursor.isNull() || !first.empty()) return;
                first = NoteFormatting::SelectionAlignment(cursor) ? "aligned" : "no alignment";
                first +=
                    NoteFormatting::SelectionInBulletList(cursor) ? ", bullets" : ", no bullets";
            });
            LoadMyNotes(8, editor);
            return first;
        },
        failure);
    EXPECT_EQ(read.value_or(failure), "no alignment, no bullets");
}

TEST_F(NotesEditorTest, BulletsToggleAndFollowTheSelection) {
    writeThreeParagraphs();
    selectParagraphs(0, 1);
    editor.ButtonClick(QStringLiteral("bullet"));
    EXPECT_TRUE(pressed("bullet"));
    EXPECT_TRUE(enabled("undo"));
    const QTextList* list = text().document()->firstBlock().textList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->format().style(), QTextListFormat::ListDisc);

    selectParagraphs(1, 2);  // one in the list, one not
    EXPECT_FALSE(pressed("bullet"));
    selectParagraphs(0, 0);
    EXPECT_TRUE(pressed("bullet"));

    selectParagraphs(0, 1);
    editor.ButtonClick(QStringLiteral("bullet"));
    EXPECT_FALSE(pressed("bullet"));
    EXPECT_EQ(text().document()->firstBlock().textList(), nullptr);
    EXPECT_EQ(text().document()->firstBlock().blockFormat().indent(), 0);

    // A read-only page takes no command.
    EXPECT_TRUE(SaveMyNotes(7, editor));
    editor.ButtonClick(QStringLiteral("bullet"));
    EXPECT_EQ(text().document()->firstBlock().textList(), nullptr);
}

// The Bullets button follows the caret's paragraph after every edit, also those that leave
// the caret where it was.
TEST_F(NotesEditorTest, BulletsFollowTheCaretAfterEveryEdit) {
    struct Row {
        const char* what;
        std::function<void(NotesEditorTest&)> edit;
        bool bulleted;
    };
    const auto key = [](Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [pressed, modifiers](NotesEditorTest& t) {
            QTest::keyClick(&t.text(), pressed, modifiers);
        };
    };
    const auto paste = [](const char* html) {
        return [html](NotesEditorTest& t) {
            auto* data = new QMimeData;
            data->setHtml(QLatin1String(html));
            QApplication::clipboard()->setMimeData(data);
            QTest::keyClick(&t.text(), Qt::Key_V, Qt::ControlModifier);
        };
    };
    const Row rows[] = {
        {"Enter on an empty item ends the list",
         [&key](NotesEditorTest& t) {
             key(Qt::Key_Return)(t);
             key(Qt::Key_Return)(t);
         },
         false},
        {"Enter in an item starts the next", key(Qt::Key_Return), true},
        {"a paste of plain paragraphs", paste("<p>two</p><p>three</p>"), false},
        {"Ctrl+Z", key(Qt::Key_Z, Qt::ControlModifier), false},
        {"the menu's undo",
         [](NotesEditorTest& t) {
             t.editor.ShowContextMenu(QPoint(10, 10));
             t.menu.hide();
             t.menu.MyNotes_ContextMenu_undo->trigger();
         },
         false},
        {"Ctrl+Y after the undo button",
         [&key](NotesEditorTest& t) {
             t.editor.ButtonClick(QStringLiteral("undo"));
             key(Qt::Key_Y, Qt::ControlModifier)(t);
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoadMyNotes(7, editor);
        text().setFocus();
        testsupport::typeText(&text(), QStringLiteral("one"));
        editor.ButtonClick(QStringLiteral("bullet"));
        ASSERT_TRUE(pressed("bullet"));
        row.edit(*this);
        EXPECT_EQ(text().textCursor().currentList() != nullptr, row.bulleted);
        EXPECT_EQ(pressed("bullet"), row.bulleted);
    }
}

TEST_F(NotesEditorTest, FontDialogSeedsFromTheSelectionAndAppliesOnlyChanges) {
    writeThreeParagraphs();
    selectParagraphs(0, 0);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14);
    bold.setForeground(QColor(0, 128, 0));
    text().textCursor().mergeCharFormat(bold);

    // Cancel applies nothing. The family is the font the text is drawn in, not the default
    // font's alias, whose faces lack bold.
    text().document()->clearUndoRedoStacks();
    editor.ButtonClick(QStringLiteral("font"));
    ASSERT_TRUE(dialogs.fontShown);
    const QFont shown = dialogs.fontShown->font;
    EXPECT_TRUE(shown.bold());
    EXPECT_EQ(shown.pointSizeF(), 14.0);
    EXPECT_EQ(dialogs.fontShown->colour, QColor(0, 128, 0));
    EXPECT_EQ(shown.family(), QFontInfo(text().document()->defaultFont()).family());
    EXPECT_FALSE(text().document()->isUndoAvailable());

    // OK unchanged applies nothing either.
    dialogs.fontAnswer = *dialogs.fontShown;
    editor.ButtonClick(QStringLiteral("font"));
    EXPECT_FALSE(text().document()->isUndoAvailable());

    // Clearing bold, choosing 20 points and red changes only those.
    platform::FontChoice chosen = *dialogs.fontShown;
    chosen.font.setBold(false);
    chosen.font.setPointSizeF(20);
    chosen.colour = Qt::red;
    dialogs.fontAnswer = chosen;
    editor.ButtonClick(QStringLiteral("font"));
    const auto firstFormat = [this](int paragraph) {
        return text().document()->findBlockByNumber(paragraph).begin().fragment().charFormat();
    };
    EXPECT_NE(firstFormat(0).fontWeight(), QFont::Bold);
    EXPECT_EQ(firstFormat(0).fontPointSize(), 20.0);
    EXPECT_EQ(firstFormat(0).foreground().color(), QColor(Qt::red));
    EXPECT_FALSE(firstFormat(0).fontItalic());
    EXPECT_FALSE(firstFormat(0).hasProperty(QTextFormat::FontFamilies));
    EXPECT_TRUE(enabled("undo"));

    // A mixed selection opens with the dialog's last choice where the text differs and keeps
    // the sizes and colours the user did not touch.
    selectParagraphs(0, 1);
    dialogs.fontAnswer.reset();
    editor.ButtonClick(QStringLiteral("font"));
    EXPECT_EQ(dialogs.fontShown->font.pointSizeF(), 20.0);
    EXPECT_EQ(dialogs.fontShown->colour, QColor(Qt::red));
    platform::FontChoice italic = *dialogs.fontShown;
    italic.font.setItalic(true);
    dialogs.fontAnswer = italic;
    editor.ButtonClick(QStringLiteral("font"));
    EXPECT_TRUE(firstFormat(1).fontItalic());
    EXPECT_EQ(firstFormat(0).fontPointSize(), 20.0);
    EXPECT_NE(firstFormat(1).fontPointSize(), 20.0);
    EXPECT_FALSE(firstFormat(1).hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(NotesEditorTest, FontDialogOffersTheFamilysStylesAndTheEffects) {
    writeThreeParagraphs();
    selectParagraphs(0, 0);
    const QString family = QFontInfo(text().document()->defaultFont()).family();
    const auto previous = platform::SetFontChooser({});
    dialogs.colourAnswer = QColor(0, 0, 200);
    ModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = qobject_cast<platform::FontDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        const auto* families = dialog->findChild<QListWidget*>(QStringLiteral("family"));
        auto* styles = dialog->findChild<QListWidget*>(QStringLiteral("style"));
        ASSERT_TRUE(families && styles);
        ASSERT_NE(families->currentItem(), nullptr);
        EXPECT_EQ(families->currentItem()->text(), family);
        ASSERT_NE(styles->currentItem(), nullptr);
        EXPECT_FALSE(QFontDatabase::bold(family, styles->currentItem()->text()));
        const QList<QListWidgetItem*> boldFaces = styles->findItems(QStringLiteral("Bold"), {});
        ASSERT_EQ(boldFaces.size(), 1);
        styles->setCurrentItem(boldFaces.constFirst());
        dialog->findChild<QCheckBox*>(QStringLiteral("underline"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("colour"))->click();
        ModalWatcher::clickButton(QStringLiteral("ok"))(modal);
    });
    editor.ButtonClick(QStringLiteral("font"));
    platform::SetFontChooser(previous);
    ASSERT_TRUE(watcher.acted());

    EXPECT_EQ(dialogs.colourShown, text().palette().color(QPalette::Text));
    const QTextCharFormat format = text().document()->firstBlock().begin().fragment().charFormat();
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_FALSE(format.fontItalic());
    EXPECT_EQ(format.foreground().color(), QColor(0, 0, 200));
}

TEST_F(NotesEditorTest, CtrlBIAndUSwitchStylesOneUndoStepEach) {
    writeThreeParagraphs();
    selectParagraphs(0, 0);
    text().document()->clearUndoRedoStacks();
    editor.UpdateNotesToolbar();
    const auto format = [this](int paragraph) {
        return text().document()->findBlockByNumber(paragraph).begin().fragment().charFormat();
    };
    const auto press = [this](Qt::Key key) { QTest::keyClick(&text(), key, Qt::ControlModifier); };

    press(Qt::Key_B);
    EXPECT_TRUE(enabled("undo"));
    press(Qt::Key_I);
    press(Qt::Key_U);
    press(Qt::Key_B);  // all bold: off again
    EXPECT_TRUE(format(0).fontItalic() && format(0).fontUnderline());
    EXPECT_NE(format(0).fontWeight(), QFont::Bold);
    text().undo();
    EXPECT_EQ(format(0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(format(0).fontUnderline());
    EXPECT_EQ(text().toPlainText(), QStringLiteral("one\ntwo\nthree"));

    // A partly bold selection becomes bold throughout; a saved, read-only page takes no key.
    selectParagraphs(0, 1);
    press(Qt::Key_B);
    EXPECT_TRUE(format(0).fontWeight() == QFont::Bold && format(1).fontWeight() == QFont::Bold);
    EXPECT_TRUE(SaveMyNotes(7, editor));
    selectParagraphs(2, 2);
    press(Qt::Key_U);
    EXPECT_FALSE(format(2).fontUnderline());
}

TEST_F(NotesEditorTest, ColourDialogRemembersItsOwnersChoice) {
    writeThreeParagraphs();
    selectParagraphs(0, 0);
    text().document()->clearUndoRedoStacks();
    editor.ButtonClick(QStringLiteral("color"));
    EXPECT_FALSE(text().document()->isUndoAvailable());

    dialogs.colourAnswer = QColor(200, 10, 20);
    editor.ButtonClick(QStringLiteral("color"));
    EXPECT_EQ(text().document()->firstBlock().begin().fragment().charFormat().foreground().color(),
              QColor(200, 10, 20));
    EXPECT_TRUE(enabled("undo"));

    // Editors of the main window share one memory; an editor with its own does not.
    NotesEditor shared;
    LoadMyNotes(8, shared);
    dialogs.colourAnswer.reset();
    shared.ButtonClick(QStringLiteral("color"));
    EXPECT_EQ(dialogs.colourShown, QColor(200, 10, 20));
    NotesEditor own(nullptr, NotesEditor::Dialogs::Own);
    LoadMyNotes(8, own);
    own.ButtonClick(QStringLiteral("color"));
    EXPECT_EQ(dialogs.colourShown, QColor(Qt::black));
}

TEST_F(NotesEditorTest, MenuActsOnTheEditorThatOpenedIt) {
    writeThreeParagraphs();
    NotesEditor other;
    LoadMyNotes(8, other);
    other.show();

    selectParagraphs(0, 0);
    editor.ShowContextMenu(QPoint(10, 10));
    EXPECT_EQ(menu.Target(), &editor);
    EXPECT_TRUE(menu.MyNotes_ContextMenu_undo->isEnabled());
    EXPECT_FALSE(menu.MyNotes_ContextMenu_redo->isEnabled());
    EXPECT_TRUE(menu.MyNotes_ContextMenu_cut->isEnabled());
    menu.hide();
    other.Contents()->setFocus();
    menu.MyNotes_ContextMenu_delete->trigger();
    EXPECT_EQ(text().toPlainText(), QStringLiteral("\ntwo\nthree"));
    EXPECT_TRUE(other.Contents()->toPlainText().isEmpty());

    // The other editor: nothing to undo, no selection.
    other.ShowContextMenu(QPoint(10, 10));
    EXPECT_FALSE(menu.MyNotes_ContextMenu_undo->isEnabled());
    EXPECT_FALSE(menu.MyNotes_ContextMenu_cut->isEnabled());
    EXPECT_FALSE(menu.MyNotes_ContextMenu_copy->isEnabled());
    EXPECT_FALSE(menu.MyNotes_ContextMenu_delete->isEnabled());
    menu.hide();

    editor.ShowContextMenu(QPoint(10, 10));
    menu.hide();
    menu.MyNotes_ContextMenu_undo->trigger();
    EXPECT_EQ(text().toPlainText(), QStringLiteral("one\ntwo\nthree"));
    EXPECT_TRUE(enabled("redo"));
}

TEST_F(NotesEditorTest, PrintsTheNoteToAPdfFile) {
    text().setFocus();
    testsupport::typeText(&text(), QStringLiteral("printed note"));
    const QString pdf = QString::fromStdString((folder.path() / "note.pdf").string());
    const auto previous = platform::SetPrintDialogRunner([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    int previews = 0;
    const auto previousPreview =
        platform::SetPreviewDialogRunner([&](QPrintPreviewDialog&) { ++previews; });
    editor.ButtonClick(QStringLiteral("print"));
    editor.ButtonClick(QStringLiteral("preview"));
    platform::SetPrintDialogRunner(previous);
    platform::SetPreviewDialogRunner(previousPreview);

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    EXPECT_EQ(previews, 1);
}

// A note that shows at once on screen but whose print would never end (printing lays it out
// a dozen times taller): refused with a message, nothing painted, nothing frozen. Each row runs
// in a bounded child, so that a print that freezes fails the row.
TEST_F(NotesEditorTest, APrintThatWouldNeverEndIsRefusedWithAMessage) {
    struct Row {
        const char* what;
        const char* key;
    };
    const Row rows[] = {{"print", "print"}, {"print preview", "preview"}};
    std::string page = "<p style=\"line-height:1000px\">";
    for (int k = 0; k < 800; ++k)
        page += "word<br>";
    testsupport::WriteFile(mod_MyNotes::NotePath(8), formats::Bytes(page.begin(), page.end()));
    const std::filesystem::path pdf = folder.path() / "note.pdf";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string failure;
        const auto outcome = testsupport::RunBoundedWithQt(
            [&] {
                LoadMyNotes(8, editor);
                if (editor.NoteUnreadable()) return std::string("not shown on screen");
                const testsupport::PrintToPdf printing(pdf);
                boxes.queue(platform::kOk);
                editor.ButtonClick(QLatin1String(row.key));
                const std::string said = boxes.shown().empty() ? "" : boxes.shown()[0].text;
                boxes.clear();
                const bool painted = std::filesystem::exists(pdf) || printing.previews() > 0;
                return (painted ? "painted; " : "not painted; ") + said;
            },
            failure);
        ASSERT_TRUE(outcome) << failure;
        EXPECT_EQ(outcome->rfind("not painted; This cannot be printed:", 0), 0u) << *outcome;
        EXPECT_NE(outcome->find("seconds to show"), std::string::npos) << *outcome;
    }
}

namespace {

// A one-bit picture: its pixel count set by its size, its file small and quick to write.
formats::Bytes monoPng(int side) {
    return testsupport::PngBytes({side, side}, Qt::white, QImage::Format_Mono);
}

// The picture as a data: URL, base64 or percent-encoded.
std::string inlined(const formats::Bytes& bytes, bool base64) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    return (base64 ? "data:image/png;base64," + raw.toBase64()
                   : "data:image/png," + raw.toPercentEncoding())
        .toStdString();
}

std::string fileAddress(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path.string()))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

}  // namespace

// A note shows its pictures wherever it names them when a regular file within the size limit
// is there, within one pixel budget per page, each decoded once. Each row is a note of its
// own, loaded in a bounded child: a slip that reads a device or waits on a fifo fails the row
// instead of taking the run's memory or time.
TEST_F(NotesEditorTest, ANotesPicturesLoadWhereverItNamesThemWithinTheirLimits) {
    namespace fs = std::filesystem;
    using testsupport::WriteFile;
    const fs::path notes = AppPaths::MyNotesFolder();
    const fs::path elsewhere = folder.path() / "elsewhere";
    WriteFile(notes / "pic.png", testsupport::PngBytes({12, 8}, Qt::red));
    WriteFile(elsewhere / "outside.png", testsupport::PngBytes({20, 10}, Qt::red));
    fs::create_symlink(elsewhere / "outside.png", notes / "link.png");
    fs::create_symlink("/dev/zero", notes / "zero.png");
    ASSERT_EQ(::mkfifo((elsewhere / "pipe.png").c_str(), 0644), 0);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (elsewhere / "socket.png").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_directories(elsewhere / "folder.png");
    // A picture in its first bytes: only its size keeps it out.
    WriteFile(elsewhere / "large.png", testsupport::PngBytes({4, 4}, Qt::red));
    fs::resize_file(elsewhere / "large.png", mod_MyNotes::kMaxNoteBytes + 1);

    // Over half the page's budget, and a picture over all of it.
    const int bigSide = static_cast<int>(std::sqrt(platform::kPagePixelBudget * 0.6));
    const std::string big = std::to_string(bigSide) + "x" + std::to_string(bigSide);
    WriteFile(elsewhere / "big.png", monoPng(bigSide));
    WriteFile(elsewhere / "big copy.png", monoPng(bigSide));
    std::vector<std::string> bigNames{"../../elsewhere/big.png"};
    for (int k = 1; k < 40; ++k) {
        const std::string link = "big" + std::to_string(k) + ".png";
        fs::create_symlink(elsewhere / "big.png", notes / link);
        bigNames.push_back(link);
    }
    WriteFile(elsewhere / "huge.png",
              monoPng(static_cast<int>(std::sqrt(platform::kPagePixelBudget)) + 1));

    // Where a data: URL Qt cannot decode would be opened as a file name.
    const fs::path work = folder.path() / "work";
    WriteFile(work / "data:" / "x.png", testsupport::PngBytes({5, 5}, Qt::red));
    WriteFile(folder.path() / "x.png", testsupport::PngBytes({5, 5}, Qt::red));
    WriteFile(work / "data:,pic.png", testsupport::PngBytes({5, 5}, Qt::red));
    ASSERT_EQ(::mkfifo((work / "data:,fifo").c_str(), 0644), 0);
    const formats::Bytes small = testsupport::PngBytes({3, 2}, Qt::red);

    struct Row {
        const char* what;
        std::vector<std::string> sources;
        std::vector<std::string> shown;
    };
    const std::vector<Row> rows{
        {"a name relative to the notes folder", {"pic.png"}, {"12x8"}},
        {"a name leading out of the notes folder", {"../../elsewhere/outside.png"}, {"20x10"}},
        {"an absolute path", {(elsewhere / "outside.png").string()}, {"20x10"}},
        {"a file: address", {fileAddress(elsewhere / "outside.png")}, {"20x10"}},
        {"a link to a picture elsewhere", {"link.png"}, {"20x10"}},
        {"a device", {"/dev/zero", "file:///dev/zero", "zero.png"}, {3, "mark"}},
        {"a fifo", {(elsewhere / "pipe.png").string()}, {"mark"}},
        {"a socket", {socketPath}, {"mark"}},
        {"a folder", {(elsewhere / "folder.png").string()}, {"mark"}},
        {"a file over the size limit", {(elsewhere / "large.png").string()}, {"mark"}},
        {"remote addresses and other schemes",
         {"http://example.com/pic.png", "file://server" + (notes / "pic.png").string(),
          "qrc:/pic.png"},
         {3, "mark"}},
        {"data: pictures, base64 and percent-encoded",
         {inlined(small, true), inlined(small, false)},
         {"3x2", "3x2"}},
        {"data: URLs that are no picture name no file",
         {"data:/../../x.png", "data:,pic.png", "data:,fifo", "data:image/png;base64,AAAA"},
         {4, "mark"}},
        {"a picture over the pixel budget", {(elsewhere / "huge.png").string()}, {"mark"}},
        {"pictures together over the pixel budget",
         {(elsewhere / "big.png").string(), fileAddress(elsewhere / "big copy.png")},
         {big, "mark"}},
        {"one picture named forty ways", bigNames, {40, big}},
        {"one data: picture written two ways",
         {inlined(monoPng(bigSide), true), inlined(monoPng(bigSide), false)},
         {big, big}},
    };
    // Each row's page follows one that took most of the budget: a new page has all of it.
    const std::string previous = "<img src=\"" + (elsewhere / "big copy.png").string() + "\">";
    WriteFile(mod_MyNotes::NotePath(8), formats::Bytes(previous.begin(), previous.end()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string page = "<html><body><p>text</p>";
        for (const std::string& source : row.sources)
            page += "<img src=\"" + source + "\">";
        page += "</body></html>";
        WriteFile(mod_MyNotes::NotePath(7), formats::Bytes(page.begin(), page.end()));
        std::string failure;
        const auto shown = testsupport::RunBoundedWithQt(
            [&] {
                if (::chdir(work.c_str()) != 0) return std::string("no working folder");
                LoadMyNotes(8, editor);
                if (testsupport::ShownPictures(text()) != std::vector<std::string>{big})
                    return std::string("the previous page did not show");
                LoadMyNotes(7, editor);
                return joined(testsupport::ShownPictures(text()));
            },
            failure);
        EXPECT_EQ(shown.value_or(failure), joined(row.shown));
    }
    ::close(socket);
}

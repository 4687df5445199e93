#include <gtest/gtest.h>

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
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

#include <optional>
#include <string>
#include <vector>

#include "core/AppPaths.h"
#include "notes/NoteFormatting.h"
#include "notes/NotesContextMenu.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/ConfinedResources.h"
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

// What a text box hands out while it replaces its page: a cursor of no document.
TEST_F(NotesEditorTest, ACursorOfNoPageHasNoAlignmentAndNoBullets) {
    EXPECT_EQ(NoteFormatting::SelectionAlignment(QTextCursor()), std::nullopt);
    EXPECT_FALSE(NoteFormatting::SelectionInBulletList(QTextCursor()));
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

// A note's pictures come only from regular files of the notes folder: a device, a path
// leaving the folder or a remote address shows as a missing picture and reads nothing.
TEST_F(NotesEditorTest, ANotesPicturesComeOnlyFromItsFolder) {
    const auto notes = AppPaths::MyNotesFolder();
    testsupport::WriteFile(notes / "pic.png", testsupport::PngBytes({12, 8}, Qt::red));
    testsupport::WriteFile(AppPaths::DataFolder() / "outside.png",
                           testsupport::PngBytes({20, 10}, Qt::red));
    std::string page = "<html><body><p>text</p><img src=\"pic.png\">";
    for (const char* source : {"/dev/zero", "../../../../dev/zero", "file:///dev/zero",
                               "../outside.png", "http://example.com/pic.png"})
        page += std::string("<img src=\"") + source + "\">";
    page += "</body></html>";
    testsupport::WriteFile(mod_MyNotes::NotePath(7), formats::Bytes(page.begin(), page.end()));

    LoadMyNotes(7, editor);
    const std::vector<QImage> images = testsupport::ShownImages(text());
    ASSERT_EQ(images.size(), 6u);
    EXPECT_EQ(images[0].size(), QSize(12, 8));
    for (std::size_t k = 1; k < images.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(images[k], platform::MissingPicture());
    }
}

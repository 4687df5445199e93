#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTextTable>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "notes/NoteRoundTrip.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/TextCodec.h"
#include "support/GuiTestSupport.h"
#include "support/Repeated.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace {

using mod_MyNotes::LoadMyNotes;
using mod_MyNotes::SaveMyNotes;
using note_round_trip::PrepareForShowing;
using note_round_trip::WrittenHtml;

constexpr std::int32_t kNote = 9;
const QString kTable = QStringLiteral("<table border=1><tr><td>a</td><td>b</td></tr></table>");

// Each line as the user sees it: paragraph format, then its runs of one format. Text on a
// rule's line shows on a line of its own below the rule.
QStringList lines(const QTextDocument& document) {
    QStringList shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat f = block.blockFormat();
        QString line = QString::number((f.alignment() & Qt::AlignHorizontal_Mask).toInt());
        for (const double length : {f.topMargin(), f.bottomMargin(), f.leftMargin(),
                                    f.rightMargin(), f.textIndent(), f.lineHeight()})
            line += u' ' + QString::number(length);
        line += QStringLiteral(" indent %1 height type %2 unwrapped %3:")
                    .arg(f.indent())
                    .arg(f.lineHeightType())
                    .arg(f.nonBreakableLines());
        if (f.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
            shown << "rule " + line;
            if (block.text().isEmpty()) continue;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat c = it.fragment().charFormat();
            const QFont font = c.font().resolve(document.defaultFont());
            line += QStringLiteral(" [%1|%2 %3pt %4 %5 %6]")
                        .arg(it.fragment().text(), font.families().join(u','))
                        .arg(font.pointSizeF())
                        .arg(font.weight())
                        .arg(font.italic())
                        .arg(c.foreground().color().name());
        }
        shown << line;
    }
    return shown;
}

void read(QTextDocument& document, const QString& html) {
    document.setHtml(html);
    PrepareForShowing(document);
}

// Types at the end of the note, in a paragraph of that format: plain text, then a bold red run.
void typeBelow(QTextDocument& document, const QTextBlockFormat& format) {
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::red);
    cursor.insertText(QStringLiteral("bold"), bold);
}

// The line right below the first table to end.
QTextBlock belowFirstTable(const QTextDocument& document) {
    QTextBlock block = document.begin().next();
    while (document.characterAt(block.position() - 1) != QChar(0xFDD1))
        block = block.next();
    return block;
}

QTextBlockFormat aligned(Qt::Alignment alignment) {
    QTextBlockFormat format;
    format.setAlignment(alignment);
    return format;
}

}  // namespace

// Written and read back, a note shows every line where it was, with its formats.
TEST(NoteRoundTripTest, EveryLineComesBackWithItsFormats) {
    QTextBlockFormat spaced = aligned(Qt::AlignRight | Qt::AlignAbsolute);
    spaced.setTopMargin(6);
    spaced.setBottomMargin(4);
    spaced.setLeftMargin(30);
    spaced.setRightMargin(12);
    spaced.setIndent(1);
    spaced.setTextIndent(9);
    spaced.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    struct Row {
        const char* what;
        std::function<void(QTextDocument&)> shown;  // the note as it shows, typed into
    };
    const Row rows[] = {
        {"a centred line below a table",
         [](QTextDocument& d) {
             read(d, kTable);
             typeBelow(d, aligned(Qt::AlignHCenter));
         }},
        {"right-aligned with margins and indents below a table",
         [&spaced](QTextDocument& d) {
             read(d, kTable);
             typeBelow(d, spaced);
         }},
        {"an empty line, then text, below a table",
         [&spaced](QTextDocument& d) {
             read(d, kTable);
             QTextCursor(d.lastBlock()).insertBlock();
             typeBelow(d, spaced);
         }},
        {"below a table whose last cell is empty",
         [](QTextDocument& d) {
             read(d, QStringLiteral("<table><tr><td>a</td><td></td></tr></table>"));
             typeBelow(d, aligned(Qt::AlignHCenter));
         }},
        {"below a table nested in a cell",
         [&spaced](QTextDocument& d) {
             read(d, "<table><tr><td>a" + kTable + "</td></tr></table><p>after</p>");
             QTextCursor cursor(belowFirstTable(d));
             cursor.setBlockFormat(spaced);
             cursor.insertText(QStringLiteral("nested"));
         }},
        // Loaded with an empty line Qt would not read back: the text comes up onto it.
        {"below a table whose last cell ends with an empty nested table",
         [](QTextDocument& d) {
             QTextCursor cursor(&d);
             cursor.insertTable(1, 1)->cellAt(0, 0).firstCursorPosition().insertTable(1, 1);
             cursor.movePosition(QTextCursor::End);
             cursor.insertBlock();
             cursor.insertText(QStringLiteral("text"));
             PrepareForShowing(d);
         }},
        {"text typed on a rule's line",
         [](QTextDocument& d) {
             read(d, QStringLiteral("<p>above</p><hr><p>below</p>"));
             QTextCursor(d.findBlockByNumber(1)).insertText(QStringLiteral("typed"));
         }},
        {"a note ending in a rule",
         [](QTextDocument& d) { read(d, QStringLiteral("<p>above</p><hr>")); }},
        {"typed below the empty line under a table of empty cells",
         [](QTextDocument& d) {
             read(d, QStringLiteral("<td><tr><dd"));
             typeBelow(d, d.lastBlock().blockFormat());
         }},
        {"typed into a preformatted block",
         [](QTextDocument& d) {
             read(d, QStringLiteral("<pre>  two  spaces</pre>"));
             typeBelow(d, d.lastBlock().blockFormat());
         }},
        {"typed into an unwrapped line with letter spacing",
         [](QTextDocument& d) {
             read(d, QStringLiteral("<p style=\"white-space:nowrap; letter-spacing:2px\">a b</p>"));
             typeBelow(d, d.lastBlock().blockFormat());
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTextDocument shown;
        row.shown(shown);
        QTextDocument back;
        read(back, WrittenHtml(shown));
        EXPECT_EQ(lines(back).join(u'\n').toStdString(), lines(shown).join(u'\n').toStdString());
    }
}

// A line shown unwrapped is written so that it reads back unwrapped, however long: wrapped,
// its layout would cost the square of its length.
TEST(NoteRoundTripTest, WhatIsWrittenLaysOutAsShown) {
    const std::string anchors = testsupport::Repeated("<a name=\"n\">x</a>", 19'000);
    const std::string letters(40'000, 'w');
    const std::pair<const char*, std::string> pages[] = {
        {"a preformatted line of 100,000 letters", "<pre>" + std::string(100'000, 'w') + "</pre>"},
        {"19,000 anchors on an unwrapped line",
         "<p style=\"white-space:nowrap\">" + anchors + "</p>"},
        {"an unwrapped line with letter spacing",
         "<p style=\"white-space:nowrap; letter-spacing:1px\">" + letters + "</p>"},
        {"a preformatted line at a large font",
         "<pre style=\"font-size:100pt\">" + std::string(10'000, 'w') + "</pre>"},
    };
    // Each line: whether it may wrap, and how many lines it takes in a box of 450 px.
    const auto laidOut = [](QTextDocument& document) {
        document.setTextWidth(450);
        (void)document.documentLayout()->documentSize();
        std::vector<std::pair<bool, int>> lines;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            lines.emplace_back(block.blockFormat().nonBreakableLines(),
                               block.layout()->lineCount());
        return lines;
    };
    for (const auto& [what, page] : pages) {
        SCOPED_TRACE(what);
        QTextDocument shown;
        read(shown, QString::fromStdString(page));
        QTextDocument back;
        back.setHtml(WrittenHtml(shown));
        const auto lines = laidOut(shown);
        EXPECT_EQ(laidOut(back), lines);
        EXPECT_TRUE(lines.front().first);
        // An earlier version wrote Qt's own form, marked as Qt's.
        QTextDocument earlier;
        earlier.setHtml(
            platform::toQt(mod_MyNotes::PageOfFile(platform::fromQtHtml(shown.toHtml()))));
        EXPECT_EQ(laidOut(earlier), lines);
    }
}

struct NoteRoundTripEditorTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    testsupport::ScriptedMessageBoxes boxes;
    NotesEditor editor;

    void SetUp() override {
        editor.resize(470, 300);
        editor.show();
    }
    static void writeNote(const std::string& page) {
        testsupport::WriteFile(mod_MyNotes::NotePath(kNote),
                               formats::Bytes(page.begin(), page.end()));
    }
    static std::string noteFile() {
        const formats::Bytes bytes = testsupport::ReadFile(mod_MyNotes::NotePath(kNote));
        return {bytes.begin(), bytes.end()};
    }
};

// A note the user did not edit is left as it is, even where it shows otherwise.
TEST_F(NoteRoundTripEditorTest, AnUneditedNoteIsNotWritten) {
    QTextDocument typedBelow;
    read(typedBelow, kTable);
    typeBelow(typedBelow, aligned(Qt::AlignHCenter));
    const std::string pages[] = {
        "<p>above</p><hr>",
        "<td><tr><>a",
        "<td><tr></table><p>b",
        mod_MyNotes::NoteFileText(WrittenHtml(typedBelow).toStdString()),
    };
    for (const std::string& page : pages) {
        SCOPED_TRACE(page);
        writeNote(page);
        struct stat before {};
        ASSERT_EQ(::stat(mod_MyNotes::NotePath(kNote).c_str(), &before), 0);
        LoadMyNotes(kNote, editor);
        ASSERT_FALSE(editor.NoteUnreadable());
        EXPECT_TRUE(SaveMyNotes(kNote, editor));
        struct stat after {};
        ASSERT_EQ(::stat(mod_MyNotes::NotePath(kNote).c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(noteFile(), page);
    }
    boxes.expectNone();
}

// Lengths that are no number are shown tamed, and what is saved holds none of them.
TEST_F(NoteRoundTripEditorTest, LengthsThatAreNoNumberAreNotWritten) {
    const std::string pages[] = {
        "<p style=\"line-height:nan%; margin-top:nanpx; font-size:nanpt\">x</p>",
        "<table border=nan cellspacing=nan cellpadding=NaN width=nan><tr><td>x</td></tr></table>" +
            std::string("<p>x</p>"),
        "<p><img src=\"missing.png\" width=nan height=NAN>x</p>",
        "<hr width=nan><p>x</p>",
        "<table><tr><td width=nan>x</td></tr></table><p>x</p>",
        "<table width=nan%><tr><td>x</td></tr></table><p>x</p>",
        "<table><tr><td width=nan%>x</td></tr></table><p>x</p>",
    };
    for (const std::string& page : pages) {
        SCOPED_TRACE(page);
        writeNote(page);
        LoadMyNotes(kNote, editor);
        editor.Contents()->setFocus();
        editor.Contents()->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor.Contents(), "z");
        ASSERT_TRUE(SaveMyNotes(kNote, editor));
        const QString saved = QString::fromStdString(noteFile());
        EXPECT_FALSE(saved.contains(QStringLiteral("nan"), Qt::CaseInsensitive))
            << saved.toStdString();

        NotesEditor again;
        LoadMyNotes(kNote, again);
        EXPECT_FALSE(again.NoteUnreadable());
        EXPECT_TRUE(again.Contents()->toPlainText().endsWith(u"xz"));
    }
    boxes.expectNone();
}

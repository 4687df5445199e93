#include <gtest/gtest.h>

#include <string>

#include "notes/NoteText.h"
#include "support/Repeated.h"

namespace {

using testsupport::Repeated;

TEST(NoteTextTest, APageReadsAsTheWordsItShows) {
    struct Row {
        const char* what;
        std::string page;
        QString text;
    };
    const Row rows[] = {
        {"a note as the editor writes it",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n<html><head>"
         "<meta name=\"qrichtext\" content=\"1\" /><title>t</title><style type=\"text/css\">\r\n"
         "p, li { white-space: pre-wrap; }\r\n</style></head><body style=\" font-size:9pt;\">\r\n"
         "<p style=\" margin-top:0px;\">first   line</p>\r\n<p style=\" margin-top:0px;\"><br "
         "/></p>\r\n<p style=\"\">second <span style=\" font-weight:700;\">bold</span></p>"
         "</body></html>",
         QStringLiteral("first line\n\nsecond bold")},
        {"references and the code page",
         "caf&#233; &#x3A9; &lt;tag&gt; &nbsp;x &AMP; &bogus; & alone &#0; \x80",
         QStringLiteral("caf\u00e9 \u03a9 <tag> x & &bogus; & alone &#0; \u20ac")},
        {"scripts, comments and a lone bracket",
         "<script>alert('<p>x')</script><!-- <p>hidden --><p>seen 1 < 2</p>",
         QStringLiteral("seen 1 < 2")},
        {"a preformatted block keeps its spaces and lines", "<pre>a  b\nc</pre>d  e",
         QStringLiteral("a  b\nc\nd e")},
        {"cells side by side, rows and items on lines of their own",
         "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table><ul><li>d<li>e</ul>",
         QStringLiteral("a b\nc\nd\ne")},
        {"a bracket within a quoted value", "<p title=\"a>b\" alt='c>d'>text</p>",
         QStringLiteral("text")},
        {"a tag cut short", "text<p unterminated", QStringLiteral("text")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const note_text::NoteText text = note_text::TextOf(row.page);
        EXPECT_EQ(text.text, row.text);
        EXPECT_FALSE(text.cut);
    }
}

// Whatever the page holds, what shows is bounded: a box lays plain text out in a time that
// grows with its characters and its lines.
TEST(NoteTextTest, APageOfMoreTextThanShowsIsCutAtTheLimits) {
    struct Row {
        const char* what;
        std::string page;
        qsizetype characters;
        qsizetype lines;
    };
    const auto characters = static_cast<qsizetype>(note_text::kShownCharacters);
    const auto lines = static_cast<qsizetype>(note_text::kShownLines);
    const Row rows[] = {
        {"one long word", std::string(note_text::kShownCharacters * 4, 'w'), characters, 1},
        {"a character beyond the code page each",
         Repeated("&#937;", note_text::kShownCharacters + 1), characters, 1},
        {"many forced lines", Repeated("x<br>", note_text::kShownLines * 2), lines, lines},
        {"many paragraphs", Repeated("<p>x</p>", note_text::kShownLines * 2), lines, lines},
        {"lines written as references", Repeated("x&#10;&#x2029;", note_text::kShownLines),
         lines / 2, lines - 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const note_text::NoteText text = note_text::TextOf(row.page);
        EXPECT_TRUE(text.cut);
        EXPECT_EQ(text.text.size() - text.text.count(u'\n'), row.characters);
        EXPECT_EQ(text.text.count(u'\n') + 1, row.lines);
    }
}

}  // namespace

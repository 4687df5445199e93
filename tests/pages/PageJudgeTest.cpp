#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "notes/mod_MyNotes.h"
#include "pages/PageJudge.h"
#include "support/Repeated.h"

namespace {

using testsupport::Repeated;

using page_judge::kPageLimits;
using page_refusals::Cause;

// Up to `bytes`, whole parts.
std::string filled(const std::string& part, std::size_t bytes) {
    return Repeated(part, bytes / part.size());
}

std::string nest(const std::string& open, const std::string& close, std::size_t depth,
                 const std::string& inner = "x") {
    return Repeated(open, depth) + inner + Repeated(close, depth);
}

std::string nested(const std::string& open, const std::string& close, std::size_t depth) {
    return "<html><body>" + nest(open, close, depth) + "</body></html>";
}

std::string tables(std::size_t depth, const std::string& inner = "x") {
    return nest("<table><tr><td>", "</td></tr></table>", depth, inner);
}

std::string picture(std::size_t dataBytes) {
    return "<img src=\"data:image/png;base64," + std::string(dataBytes, 'A') + "\" />";
}

// The editor's own page: Qt's head, one paragraph per line.
std::string editorPage(const std::string& body) {
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
           "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head><meta "
           "name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\np, li { white-space: "
           "pre-wrap; }\nhr { height: 1px; border-width: 0; }\nli.unchecked::marker { content: "
           "\"\\2610\"; }\nli.checked::marker { content: \"\\2612\"; }\n</style></head><body "
           "style=\" font-family:'Sans Serif'; font-size:9pt; font-weight:400; "
           "font-style:normal;\">\n" +
           body + "</body></html>\r\n";
}

std::string line(const std::string& text) {
    return "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
           "-qt-block-indent:0; text-indent:0px;\">" +
           text + "</p>\n";
}

std::string fewPages() {
    std::string body;
    for (int k = 0; k < 150; ++k)
        body += line("Line " + std::to_string(k) +
                     ": the <span style=\" font-weight:700;\">longest</span> prefix wins, "
                     "<span style=\" color:#aa0000;\">always</span>.");
    return body;
}

std::string table(std::size_t rows, const std::string& row) {
    return "<table>" + Repeated("<tr>" + row + "</tr>", rows) + "</table>";
}

}  // namespace

TEST(PageJudgeTest, RefusesWhatQtCannotParseSoonAndAcceptsOrdinaryPages) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const std::size_t depth = kPageLimits.depth;
    const std::size_t tableDepth = kPageLimits.tableDepth;
    struct Row {
        const char* what;
        std::string page;
        std::optional<Cause> refusal;  // nullopt when accepted
    };
    const Row rows[] = {
        {"3,000 nested tables", tables(3000), Cause::kTablesTooDeep},
        {"20 nested tables", tables(20), Cause::kTablesTooDeep},
        {"tables one over", tables(tableDepth + 1), Cause::kTablesTooDeep},
        {"tables at the bound", tables(tableDepth), std::nullopt},
        {"text deep in tables", tables(tableDepth, std::string(2000, 'x')), std::nullopt},
        {"100,000 nested divs", nested("<div>", "</div>", 100'000), Cause::kNestedTooDeep},
        {"50,000 nested inline tags", nested("<b>", "</b>", 50'000), Cause::kNestedTooDeep},
        {"nesting one over", nested("<i>", "</i>", depth - 1), Cause::kNestedTooDeep},
        {"nesting at the bound", nested("<i>", "</i>", depth - 2), std::nullopt},
        {"over 16 MiB of plain words", filled("lorem ipsum ", 17 * kMiB), Cause::kTooLarge},
        {"16 MiB of plain text", std::string(16 * kMiB, 'x'), std::nullopt},
        {"one byte over 16 MiB", std::string(16 * kMiB + 1, 'x'), Cause::kTooLarge},
        // A note file holds the whole page: its pictures count.
        {"a 5 MiB picture in 12 MiB of words",
         editorPage(picture(5 * kMiB) + filled("lorem ipsum ", 12 * kMiB)), Cause::kTooLarge},
        {"16 MiB of <p>x", filled("<p>x", 16 * kMiB), Cause::kTooManyParts},
        {"16 MiB of <b>x</b>", filled("<b>x</b>", 16 * kMiB), Cause::kTooManyParts},
        {"16 MiB of stray closing tags", filled("</b>", 16 * kMiB), Cause::kTooManyParts},
        {"a few stray closing tags", Repeated("</b></td></table>x", 1000), std::nullopt},
        {"a large pasted picture", editorPage(picture(40 * kMiB)), Cause::kTooLarge},
        {"a 7 MiB pasted picture", editorPage(picture(7 * kMiB)), Cause::kPictureData},
        // Data in a link's address is no picture.
        {"a 7 MiB data: link",
         "<a href=\"data:text/plain," + std::string(7 * kMiB, 'd') + "\">x</a>", Cause::kLinkData},
        {"a 4 MiB picture and a 4 MiB data: link",
         picture(4 * kMiB) + "<a href=\"data:," + std::string(4 * kMiB, 'd') + "\">x</a>",
         Cause::kPictureAndLinkData},
        {"a 7 MiB table background",
         "<table background=\"data:," + std::string(7 * kMiB, 'd') + "\">", Cause::kPictureData},
        {"20,000 pictures in capitals", Repeated("<IMG SRC=a>", 20'000), Cause::kTooManyPictures},
        // A cell makes its table as wide as the columns it spans, in every row.
        {"1,000 rows of one cell spanning 20,480 columns", table(1000, "<td colspan=20480>x</td>"),
         Cause::kTooManyCells},
        {"names in capitals", "<TABLE>" + Repeated("<TR><TD COLSPAN=\"20480\">x", 1000),
         Cause::kTooManyCells},
        {"a cell spanning rows widens every row below",
         "<table><tr><td rowspan=1000 colspan=300>x" + Repeated("<tr><td>x", 999),
         Cause::kTooManyCells},
        {"a row of 200 unclosed cells", "<table><tr>" + Repeated("<td>x", 200), std::nullopt},
        {"501 rows of 200 unclosed cells two columns wide",
         "<table>" + Repeated("<tr>" + Repeated("<td colspan=2>x", 200), 501),
         Cause::kTooManyCells},
        {"spans that end", table(2000, "<td rowspan=2 colspan=50>x</td>"), std::nullopt},
        // The bound is the page's: its tables' cells add up.
        {"one table of 150,000 cells", table(1000, "<td colspan=150>x</td>"), std::nullopt},
        {"two tables of 150,000 cells", Repeated(table(1000, "<td colspan=150>x</td>"), 2),
         Cause::kTooManyCells},
        {"a table of 150,000 cells in another's cell",
         "<table><tr><td>" + table(1000, "<td colspan=150>x</td>") + "</td><td colspan=60000>x",
         Cause::kTooManyCells},
        {"a spreadsheet's 200 x 10 table, as the editor saves it",
         editorPage(table(200, Repeated("<td style=\" padding:2px;\"><p>cell</p></td>", 10))),
         std::nullopt},
        // "display" in the text or Qt's own escapes restyle nothing.
        {"unclosed bold steps mentioning the display",
         Repeated("<p><b>Step 1: the display shows it\\", 60), std::nullopt},
        {"the editor's own head before unclosed steps", editorPage(Repeated("<p><b>Step", 200)),
         std::nullopt},
        {"a style that may make bold a block",
         "<p style=\"display:inline\">" + Repeated("<p><b>Step", 200), Cause::kNestedTooDeep},
        {"a style sheet spelling it with escapes",
         "<style>b { d\\69 splay: block }</style>" + Repeated("<p><b>Step", 200),
         Cause::kNestedTooDeep},
        {"10,000 one-letter paragraphs as the editor saves them",
         editorPage(Repeated(line("x"), 10'000)), std::nullopt},
        {"the default page", mod_MyNotes::DefaultNotePage(), std::nullopt},
        {"the editor's few pages", editorPage(fewPages()), std::nullopt},
        {"tables 3 deep", editorPage(fewPages() + Repeated(tables(3), 20)), std::nullopt},
        {"a few pictures", editorPage(fewPages() + Repeated(picture(kMiB), 5)), std::nullopt},
        // Qt closes these itself: they never nest.
        {"unclosed paragraphs", Repeated("<p><b>x", 5000), std::nullopt},
        {"unclosed items", "<ul>" + Repeated("<li>item ", 5000), std::nullopt},
        {"unclosed cells", "<table>" + Repeated("<tr><td>a<td>b", 500), std::nullopt},
        {"void elements", Repeated("<br><hr><meta a=b><img src=a>", 1000), std::nullopt},
        {"self-closed elements", Repeated("<div/><span />", 5000), std::nullopt},
        {"elements in a comment", "<!--" + Repeated("<div>", 5000) + "-->", std::nullopt},
        {"a page cut short inside a style tag", "<p>x</p><style", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto refusal = page_judge::JudgePage(row.page);
        if (!row.refusal) {
            EXPECT_FALSE(refusal) << static_cast<int>(refusal->cause);
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->cause, *row.refusal);
    }
}

// What a page holds, which the advice of a refusal names: read as the page is judged, and
// from the names of its elements alone when it is too large to judge.
TEST(PageJudgeTest, TellsWhetherAPageHoldsTablesAndPictures) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const std::string large = std::string(17 * kMiB, 'x');
    struct Row {
        const char* what;
        std::string page;
        bool tables;
        bool pictures;
    };
    const Row rows[] = {
        {"text", "<p>words</p>", false, false},
        {"a table", "<p>a</p><table><tr><td>x</td></tr></table>", true, false},
        {"a cell alone, which Qt puts in a table", "<td>x", true, false},
        {"a picture", "<p><IMG src=a.png></p>", false, true},
        {"a picture as a table's background", "<table background=\"data:,x\"><tr><td>x", true,
         true},
        {"a data: link", "<a href=\"data:,x\">x</a>", false, false},
        {"both", "<img src=a.png>" + tables(2), true, true},
        {"too large, with a table at its end", large + "<TABLE>", true, false},
        {"too large, with a picture", "<img src=a.png>" + large, false, true},
        {"too large, a word that only begins like one", "<tablet><imgs>" + large, false, false},
        {"too large, text", large, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        page_refusals::Contents holds;
        const auto refusal = page_judge::JudgePage(row.page, &holds);
        EXPECT_EQ(holds.tables, row.tables);
        EXPECT_EQ(holds.pictures, row.pictures);
        if (refusal) {
            EXPECT_EQ(refusal->holds.tables, row.tables);
            EXPECT_EQ(refusal->holds.pictures, row.pictures);
        }
    }
}

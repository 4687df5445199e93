#include <gtest/gtest.h>

#include <string>

#include "notes/mod_MyNotes.h"
#include "pages/PageJudge.h"
#include "support/Repeated.h"

namespace {

using testsupport::Repeated;

using page_judge::kPageLimits;

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
        const char* refusal;  // part of the reason; nullptr when accepted
    };
    const Row rows[] = {
        {"3,000 nested tables", tables(3000), "tables are nested more than 10 deep"},
        {"20 nested tables", tables(20), "tables are nested more than 10 deep"},
        {"tables one over", tables(tableDepth + 1), "tables are nested"},
        {"tables at the bound", tables(tableDepth), nullptr},
        {"text deep in tables", tables(tableDepth, std::string(2000, 'x')), nullptr},
        {"100,000 nested divs", nested("<div>", "</div>", 100'000),
         "elements are nested more than 100 deep"},
        {"50,000 nested inline tags", nested("<b>", "</b>", 50'000), "nested more than 100"},
        {"nesting one over", nested("<i>", "</i>", depth - 1), "nested more than"},
        {"nesting at the bound", nested("<i>", "</i>", depth - 2), nullptr},
        {"over 16 MiB of plain words", filled("lorem ipsum ", 17 * kMiB),
         "It is larger than 16 MB"},
        {"16 MiB of plain text", std::string(16 * kMiB, 'x'), nullptr},
        {"one byte over 16 MiB", std::string(16 * kMiB + 1, 'x'), "larger than 16 MB"},
        // A note file holds the whole page: its pictures count.
        {"a 5 MiB picture in 12 MiB of words",
         editorPage(picture(5 * kMiB) + filled("lorem ipsum ", 12 * kMiB)), "larger than 16 MB"},
        {"16 MiB of <p>x", filled("<p>x", 16 * kMiB), "more than 200000 elements"},
        {"16 MiB of <b>x</b>", filled("<b>x</b>", 16 * kMiB), "more than 200000 elements"},
        {"16 MiB of stray closing tags", filled("</b>", 16 * kMiB), "more than 200000 elements"},
        {"a few stray closing tags", Repeated("</b></td></table>x", 1000), nullptr},
        {"a large pasted picture", editorPage(picture(40 * kMiB)), "larger than 16 MB"},
        {"a 7 MiB pasted picture", editorPage(picture(7 * kMiB)), "pictures are larger than 6 MB"},
        {"20,000 pictures in capitals", Repeated("<IMG SRC=a>", 20'000), "more than 2500 pictures"},
        // A cell makes its table as wide as the columns it spans, in every row.
        {"1,000 rows of one cell spanning 20,480 columns", table(1000, "<td colspan=20480>x</td>"),
         "more than 200000 cells"},
        {"names in capitals", "<TABLE>" + Repeated("<TR><TD COLSPAN=\"20480\">x", 1000),
         "more than 200000 cells"},
        {"a cell spanning rows widens every row below",
         "<table><tr><td rowspan=1000 colspan=300>x" + Repeated("<tr><td>x", 999),
         "more than 200000 cells"},
        {"a row of 200 unclosed cells", "<table><tr>" + Repeated("<td>x", 200), nullptr},
        {"501 rows of 200 unclosed cells two columns wide",
         "<table>" + Repeated("<tr>" + Repeated("<td colspan=2>x", 200), 501),
         "more than 200000 cells"},
        {"spans that end", table(2000, "<td rowspan=2 colspan=50>x</td>"), nullptr},
        // The bound is the page's: its tables' cells add up.
        {"one table of 150,000 cells", table(1000, "<td colspan=150>x</td>"), nullptr},
        {"two tables of 150,000 cells", Repeated(table(1000, "<td colspan=150>x</td>"), 2),
         "more than 200000 cells"},
        {"a table of 150,000 cells in another's cell",
         "<table><tr><td>" + table(1000, "<td colspan=150>x</td>") + "</td><td colspan=60000>x",
         "more than 200000 cells"},
        {"a spreadsheet's 200 x 10 table, as the editor saves it",
         editorPage(table(200, Repeated("<td style=\" padding:2px;\"><p>cell</p></td>", 10))),
         nullptr},
        // "display" in the text or Qt's own escapes restyle nothing.
        {"unclosed bold steps mentioning the display",
         Repeated("<p><b>Step 1: the display shows it\\", 60), nullptr},
        {"the editor's own head before unclosed steps", editorPage(Repeated("<p><b>Step", 200)),
         nullptr},
        {"a style that may make bold a block",
         "<p style=\"display:inline\">" + Repeated("<p><b>Step", 200), "nested more than"},
        {"a style sheet spelling it with escapes",
         "<style>b { d\\69 splay: block }</style>" + Repeated("<p><b>Step", 200),
         "nested more than"},
        {"10,000 one-letter paragraphs as the editor saves them",
         editorPage(Repeated(line("x"), 10'000)), nullptr},
        {"the default page", mod_MyNotes::DefaultNotePage(), nullptr},
        {"the editor's few pages", editorPage(fewPages()), nullptr},
        {"tables 3 deep", editorPage(fewPages() + Repeated(tables(3), 20)), nullptr},
        {"a few pictures", editorPage(fewPages() + Repeated(picture(kMiB), 5)), nullptr},
        // Qt closes these itself: they never nest.
        {"unclosed paragraphs", Repeated("<p><b>x", 5000), nullptr},
        {"unclosed items", "<ul>" + Repeated("<li>item ", 5000), nullptr},
        {"unclosed cells", "<table>" + Repeated("<tr><td>a<td>b", 500), nullptr},
        {"void elements", Repeated("<br><hr><meta a=b><img src=a>", 1000), nullptr},
        {"self-closed elements", Repeated("<div/><span />", 5000), nullptr},
        {"elements in a comment", "<!--" + Repeated("<div>", 5000) + "-->", nullptr},
        {"a page cut short inside a style tag", "<p>x</p><style", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto refusal = page_judge::JudgePage(row.page);
        if (!row.refusal) {
            EXPECT_FALSE(refusal) << *refusal;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->find(row.refusal), std::string::npos) << *refusal;
    }
}

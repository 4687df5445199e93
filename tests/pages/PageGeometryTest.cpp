#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>

#include <functional>
#include <memory>
#include <string>

#include "pages/PageReader.h"
#include "support/Repeated.h"

namespace {

using testsupport::Repeated;

page_reader::PageBox box() {
    page_reader::PageBox box;
    box.font = QApplication::font();
    box.widths = {450};
    return box;
}

std::unique_ptr<page_reader::PageDocument> parsed(const std::string& page) {
    return page_reader::ParsePage(QString::fromStdString(page), box(),
                                  [](const QUrl&) { return QVariant(QString()); });
}

QTextCharFormat firstLetters(const QTextDocument& document) {
    return document.begin().begin().fragment().charFormat();
}

QTextFrameFormat firstTable(const QTextDocument& document) {
    return document.rootFrame()->childFrames().at(0)->frameFormat();
}

}  // namespace

// What could lay letters, lines or tables over each other is brought back to where they do not
// touch; what ordinary notes use stays as it is.
TEST(PageGeometryTest, NothingIsLaidOverWhatCameBefore) {
    struct Row {
        const char* what;
        std::string page;
        std::function<double(const QTextDocument&)> shown;
        double expected;
    };
    const auto letterSpacing = [](const QTextDocument& d) {
        return firstLetters(d).fontLetterSpacing();
    };
    const auto lineHeight = [](const QTextDocument& d) {
        return d.begin().blockFormat().lineHeight();
    };
    const auto heightType = [](const QTextDocument& d) {
        return static_cast<double>(d.begin().blockFormat().lineHeightType());
    };
    const auto textIndent = [](const QTextDocument& d) {
        return d.begin().blockFormat().textIndent();
    };
    const Row rows[] = {
        {"letters 660 px closer at 500 pt", "<p style=\"font-size:500pt;letter-spacing:-660px\">WW",
         letterSpacing, -500 * 0.1 * 96 / 72},
        {"letters 30 px closer at 20 px", "<p style=\"font-size:20px;letter-spacing:-30px\">WW",
         letterSpacing, -2},
        {"letters half a pixel closer at 9 pt", "<p style=\"letter-spacing:-0.5px\">WW",
         letterSpacing, -0.5},
        {"letters 0.99 of their width closer",
         "<p style=\"font-size:500pt;letter-spacing:-0.99em\">WW", letterSpacing, 90},
        {"letters 0.05 of their width closer", "<p style=\"letter-spacing:-0.05em\">WW",
         letterSpacing, 95},
        {"words 1000 px closer at 20 px", "<p style=\"font-size:20px;word-spacing:-1000px\">W W",
         [](const QTextDocument& d) { return firstLetters(d).fontWordSpacing(); }, -2},
        {"lines at 1 % of their height", "<p style=\"line-height:1%\">W<br>W", lineHeight, 100},
        {"lines at 150 % of their height", "<p style=\"line-height:150%\">W<br>W", lineHeight, 150},
        {"lines held to 1 px", "<p style=\"-qt-line-height-type:fixed;line-height:1px\">W<br>W",
         heightType, QTextBlockFormat::MinimumHeight},
        {"a line 1000 px left of its place", "<p style=\"margin-left:-1000px\">W",
         [](const QTextDocument& d) { return d.begin().blockFormat().leftMargin(); }, 0},
        {"a hanging indent", "<p style=\"margin-left:36px;text-indent:-18px\">W W", textIndent,
         -18},
        {"an indent beyond its margin", "<p style=\"margin-left:10px;text-indent:-1000px\">W W",
         textIndent, -10},
        {"a table 790 px above its place",
         "<table style=\"margin-top:-790px\"><tr><td>W</td></tr></table>",
         [](const QTextDocument& d) { return firstTable(d).topMargin(); }, 0},
        {"a table held 1 px high", "<table height=1><tr><td>W</td></tr></table>",
         [](const QTextDocument& d) {
             return static_cast<double>(firstTable(d).hasProperty(QTextFormat::FrameHeight));
         },
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto document = parsed(row.page);
        EXPECT_NEAR(row.shown(*document), row.expected, 0.01);
    }
}

// Painted, letters and lines stacked by the page stand apart: their ink spreads over several
// letters' widths or lines' heights.
TEST(PageGeometryTest, StackedLettersArePaintedApart) {
    struct Row {
        const char* what;
        std::string page;
        bool across;  // the ink spreads across, else down
    };
    const std::string letters = "style=\"font-size:40px;";
    const Row rows[] = {
        {"letter spacing", "<p " + letters + "letter-spacing:-40px\">" + Repeated("W", 6), true},
        {"word spacing", "<p " + letters + "word-spacing:-60px\">" + Repeated("W ", 6), true},
        {"proportional line height", "<p " + letters + "line-height:1%\">" + Repeated("W<br>", 6),
         false},
        {"fixed line height",
         "<p " + letters + "-qt-line-height-type:fixed;line-height:1px\">" + Repeated("W<br>", 6),
         false},
        {"tables held low",
         Repeated("<table height=1 cellspacing=0><tr><td " + letters + "\">W</td></tr></table>", 6),
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTextEdit edit;
        edit.resize(470, 300);
        page_reader::ShowDocument(edit, parsed(row.page));
        edit.show();
        const QImage shown = edit.viewport()->grab().toImage();
        QRect ink;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qGray(shown.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
        // Six letters of 40 px apart take at least three letters' room either way.
        EXPECT_GE(row.across ? ink.width() : ink.height(), 120)
            << ink.width() << " x " << ink.height();
    }
}

#include <gtest/gtest.h>

#include <QPrinter>
#include <QTextDocument>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Printing.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace {

bool isPdf(const std::filesystem::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return bytes.size() > 100 && std::string(bytes.begin(), bytes.begin() + 5) == "%PDF-";
}

std::optional<std::string> accepting(const platform::PrintLayout& /*layout*/) {
    return std::nullopt;
}

struct PrintingTest : ::testing::Test {
    testsupport::TempProgramFolder folder;
    std::filesystem::path pdf = folder.path() / "out.pdf";
    QTextDocument document;

    void SetUp() override { document.setHtml("<h1>Subnetting</h1><p>A /26 has 62 hosts.</p>"); }
};

TEST_F(PrintingTest, PrintAndPreviewBothPaintTheDocument) {
    {
        const testsupport::PrintToPdf printing(pdf);
        EXPECT_TRUE(platform::PrintDocument(document, nullptr, accepting));
        EXPECT_EQ(printing.printDialogs(), 1);
    }
    EXPECT_TRUE(isPdf(pdf));

    std::filesystem::remove(pdf);
    const testsupport::PrintToPdf printing(pdf);
    platform::PreviewDocument(document, nullptr, accepting);
    EXPECT_EQ(printing.previews(), 1);
    EXPECT_TRUE(isPdf(pdf));
}

TEST_F(PrintingTest, CancellingThePrintDialogPrintsNothing) {
    const testsupport::PrintToPdf printing({});
    EXPECT_FALSE(platform::PrintDocument(document, nullptr, accepting));
    EXPECT_EQ(printing.printDialogs(), 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// The document is judged at the printer's page width and resolution before anything lays it
// out there; one refused is neither printed nor previewed, and the user is told why.
TEST_F(PrintingTest, ADocumentIsJudgedAsThePrinterLaysItOutBeforeItIsPainted) {
    struct Row {
        const char* what;
        bool preview;
        bool refused;
    };
    const Row rows[] = {
        {"printed", false, false},
        {"printing refused", false, true},
        {"previewed", true, false},
        {"preview refused", true, true},
    };
    QPrinter pdfPrinter(QPrinter::HighResolution);
    pdfPrinter.setOutputFormat(QPrinter::PdfFormat);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove(pdf);
        testsupport::ScriptedMessageBoxes boxes;
        if (row.refused) boxes.queue(platform::kOk);
        std::vector<platform::PrintLayout> judged;
        const platform::PrintJudge judge = [&](const platform::PrintLayout& layout) {
            judged.push_back(layout);
            return row.refused ? std::optional<std::string>("It never ends.") : std::nullopt;
        };
        const testsupport::PrintToPdf printing(pdf);
        if (row.preview)
            platform::PreviewDocument(document, nullptr, judge);
        else
            EXPECT_EQ(platform::PrintDocument(document, nullptr, judge), !row.refused);
        EXPECT_EQ(isPdf(pdf), !row.refused);
        EXPECT_EQ(printing.previews(), row.preview && !row.refused ? 1 : 0);
        ASSERT_FALSE(judged.empty());
        for (const platform::PrintLayout& layout : judged) {
            EXPECT_EQ(layout.dpiX, pdfPrinter.resolution());
            EXPECT_EQ(layout.dpiY, pdfPrinter.resolution());
            EXPECT_EQ(layout.width, pdfPrinter.width());
            EXPECT_EQ(layout.margin, 75);
        }
        if (row.refused) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_NE(boxes.shown()[0].text.find("It never ends."), std::string::npos);
        } else {
            boxes.expectNone();
        }
    }
}

}  // namespace

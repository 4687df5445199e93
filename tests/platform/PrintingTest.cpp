#include <gtest/gtest.h>

#include <QTextDocument>

#include <filesystem>

#include "platform/Printing.h"
#include "support/GuiTestSupport.h"
#include "support/TempProgramFolder.h"

namespace {

bool isPdf(const std::filesystem::path& path) {
    const formats::Bytes bytes = testsupport::ReadFile(path);
    return bytes.size() > 100 && std::string(bytes.begin(), bytes.begin() + 5) == "%PDF-";
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
        EXPECT_TRUE(platform::PrintDocument(document, nullptr));
        EXPECT_EQ(printing.printDialogs(), 1);
    }
    EXPECT_TRUE(isPdf(pdf));

    std::filesystem::remove(pdf);
    const testsupport::PrintToPdf printing(pdf);
    platform::PreviewDocument(document, nullptr);
    EXPECT_EQ(printing.previews(), 1);
    EXPECT_TRUE(isPdf(pdf));
}

TEST_F(PrintingTest, CancellingThePrintDialogPrintsNothing) {
    const testsupport::PrintToPdf printing({});
    EXPECT_FALSE(platform::PrintDocument(document, nullptr));
    EXPECT_EQ(printing.printDialogs(), 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace

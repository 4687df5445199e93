#include <gtest/gtest.h>

#include <string>

#include "pages/PageTrialRequest.h"

namespace {

using page_trial::DecodeReport;
using page_trial::DecodeRequest;
using page_trial::Encode;

// What passes to the child and back arrives as it was sent, odd bytes and lengths included;
// anything cut short, added to or out of range is no request at all.
TEST(PageTrialRequestTest, ARequestAndAReportArriveWholeOrNotAtAll) {
    page_trial::TrialRequest request;
    request.page = std::string("<p>a\0b:12:\n", 11) + std::string(70'000, '\xE9');
    request.pictures = page_trial::PictureRule::kInsideFolder;
    request.pictureFolder = "/tmp/a folder:with\ncolons";
    request.baseUrl = "file:///tmp/a%20folder/";
    request.font = "Sans Serif,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1";
    request.documentMargin = 4.5;
    request.indentWidth = 40;
    request.wrapMode = 4;
    request.designMetrics = true;
    request.widths = {470, 455};
    request.dpiX = 120;
    request.dpiY = 96;
    request.budgetMicros = 500'000;
    request.memoryBytes = std::uint64_t{1} << 30;
    const std::string sent = Encode(request);
    EXPECT_EQ(DecodeRequest(sent), request);

    page_trial::TrialReport report;
    report.laidOutMicros = 1234;
    report.pictureFiles = {"/tmp/p.png", "/tmp/q r.gif"};
    report.namesLookedFor = {"/tmp/p.png", "/tmp/link to q.gif", "/tmp/absent.png"};
    EXPECT_EQ(DecodeReport(Encode(report)), report);
    // The child says first that it read the page.
    EXPECT_EQ(DecodeReport(std::string(page_trial::kPageReadMark) + Encode(report)), report);
    page_trial::TrialReport refused;
    refused.refusal = "Its tables are nested more than 10 deep.";
    EXPECT_EQ(DecodeReport(Encode(refused)), refused);

    const std::string broken[] = {
        sent.substr(0, sent.size() - 1),
        sent + "0:",
        "x" + sent,
        std::string(),
        Encode(report).substr(0, 40),
        std::string(page_trial::kPageReadMark),
    };
    for (const std::string& bytes : broken) {
        EXPECT_FALSE(DecodeRequest(bytes)) << bytes.size();
        EXPECT_FALSE(DecodeReport(bytes)) << bytes.size();
    }
    page_trial::TrialRequest tooWide = request;
    tooWide.widths.assign(100, 1);
    EXPECT_FALSE(DecodeRequest(Encode(tooWide)));
}

}  // namespace

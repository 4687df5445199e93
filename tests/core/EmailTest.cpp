#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mod_Email.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedMessageBoxes.h"

namespace {

using Links = std::vector<std::string>;
using mod_Email::EncodeMailtoText;
using mod_Email::SendEmail;

TEST(EncodeMailtoText, EscapesWhatWouldBreakTheLinkAndKeepsTheRest) {
    struct Case {
        const char* text;
        const char* encoded;
    };
    for (const auto& [text, encoded] : {
             Case{"Q 12 & Q 13", "Q 12 %26 Q 13"},
             Case{"Line 1\r\nLine 2\tend", "Line 1%0D%0ALine 2%09end"},
             Case{"Score 80% on #12", "Score 80%25 on %2312"},
             Case{"%41", "%2541"},
             Case{"Caf\xE9 \x80 \xFF \x7F", "Caf%E9 %80 %FF %7F"},
             Case{"a?b=c+d~e/f:g@h;i", "a?b=c+d~e/f:g@h;i"},
             Case{"", ""},
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(EncodeMailtoText(text), encoded);
    }
    EXPECT_EQ(EncodeMailtoText(std::string("a\0b", 3)), "a%00b");
}

// The shell's link form carries kept spaces as %20; what matters is that escaped characters
// arrive as the escapes and no part is cut off.
TEST(SendEmail, LeavesOutEmptyPartsAndCarriesEscapedTextWhole) {
    const testsupport::RecordedShell shell;
    SendEmail("feedback@exam.example", "", "", "", "");
    SendEmail("feedback@exam.example", "", "", "Question 12", "");
    SendEmail("feedback@exam.example", "", "", "", "Hi");
    SendEmail("feedback@exam.example", "support@exam.example", "audit@exam.example", "S", "B");
    SendEmail("feedback@exam.example", "support@exam.example", "", "NP-110 Q 7 & Q 8",
              "Answer #2 is 100% right.\r\nCaf\xE9");
    const std::string everyPart =
        "mailto:feedback@exam.example?CC=support@exam.example&BCC=audit@exam.example"
        "&Subject=S&Body=B";
    const std::string escaped =
        "mailto:feedback@exam.example?CC=support@exam.example"
        "&Subject=NP-110%20Q%207%20%26%20Q%208"
        "&Body=Answer%20%232%20is%20100%25%20right.%0D%0ACaf%E9";
    EXPECT_EQ(shell.opened(), (Links{
                                  "mailto:feedback@exam.example",
                                  "mailto:feedback@exam.example?Subject=Question%2012",
                                  "mailto:feedback@exam.example?Body=Hi",
                                  everyPart,
                                  escaped,
                              }));
}

TEST(SendEmail, WithoutAMailProgramAMessageNamesTheAddress) {
    testsupport::ScriptedMessageBoxes boxes;
    const platform::ShellHandler previous =
        platform::SetShellHandler([](const QUrl&) { return false; });
    boxes.queue(platform::kOk);
    SendEmail("feedback@exam.example", "", "", "Question 12", "");
    platform::SetShellHandler(previous);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].style, platform::kInformation);
    EXPECT_NE(boxes.shown()[0].text.find("feedback@exam.example"), std::string::npos);
}

}  // namespace

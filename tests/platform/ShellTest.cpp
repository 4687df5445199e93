#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Shell.h"
#include "support/GuiTestSupport.h"

namespace {

using Links = std::vector<std::string>;

// Mail links keep the caller's escapes; bare web addresses get a scheme; an unescaped letter
// of the code page is sent as UTF-8.
TEST(Shell, OpensMailAndWebLinksAsTheUserMeantThem) {
    const std::string mail =
        "mailto:exam@example.com?subject=Score%3A%2080%25%20%26%20more&body=Line%201%0D%0ALine%202%"
        "E9";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {mail, mail},
        {"MAILTO:exam@example.com", "mailto:exam@example.com"},
        {"mailto:exam@example.com?subject=Caf\xE9", "mailto:exam@example.com?subject=Caf%C3%A9"},
        {"http://www.example.com/exams?id=7", "http://www.example.com/exams?id=7"},
        {"https://example.com/", "https://example.com/"},
        {"www.example.com", "http://www.example.com"},
        {"  www.example.com/go?next=http://example.org  ",
         "http://www.example.com/go?next=http://example.org"},
        {"example.com:8080/a", "http://example.com:8080/a"},
    };
    const testsupport::RecordedShell outer;
    for (const auto& [target, link] : cases) {
        SCOPED_TRACE(target);
        const testsupport::RecordedShell shell;
        EXPECT_TRUE(platform::ShellOpen(target));
        EXPECT_EQ(shell.opened(), Links{link});
    }
    // Each recorder hands the shell back to the one before it.
    platform::ShellOpen("www.outer.example");
    EXPECT_EQ(outer.opened(), (Links{"http://www.outer.example"}));
}

TEST(Shell, OtherSchemesAndEmptyTargetsOpenNothing) {
    const testsupport::RecordedShell shell;
    for (const char* target : {"", "   ", "file:///etc/passwd", "ftp://example.com/x",
                               "javascript:alert(1)", "http://"}) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(platform::ShellOpen(target));
    }
    EXPECT_TRUE(shell.opened().empty());
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Shell.h"
#include "support/GuiTestSupport.h"

namespace {

using Links = std::vector<std::string>;

TEST(Shell, MailtoKeepsTheCallersEscapes) {
    const testsupport::RecordedShell shell;
    const std::string mail =
        "mailto:exam@example.com?subject=Score%3A%2080%25%20%26%20more&body=Line%201%0D%0ALine%202%"
        "E9";
    EXPECT_TRUE(platform::ShellOpen(mail));
    EXPECT_TRUE(platform::ShellOpen("MAILTO:exam@example.com"));
    EXPECT_EQ(shell.opened(), (Links{mail, "mailto:exam@example.com"}));
}

TEST(Shell, WebAddressesGetASchemeWhenBare) {
    const testsupport::RecordedShell shell;
    EXPECT_TRUE(platform::ShellOpen("http://www.example.com/exams?id=7"));
    EXPECT_TRUE(platform::ShellOpen("https://example.com/"));
    EXPECT_TRUE(platform::ShellOpen("www.example.com"));
    EXPECT_TRUE(platform::ShellOpen("  www.example.com/go?next=http://example.org  "));
    EXPECT_TRUE(platform::ShellOpen("example.com:8080/a"));
    EXPECT_EQ(shell.opened(), (Links{
                                  "http://www.example.com/exams?id=7",
                                  "https://example.com/",
                                  "http://www.example.com",
                                  "http://www.example.com/go?next=http://example.org",
                                  "http://example.com:8080/a",
                              }));
}

TEST(Shell, UnescapedLetterOfTheCodePageIsSentAsUtf8) {
    const testsupport::RecordedShell shell;
    EXPECT_TRUE(platform::ShellOpen("mailto:exam@example.com?subject=Caf\xE9"));
    EXPECT_EQ(shell.opened(), (Links{"mailto:exam@example.com?subject=Caf%C3%A9"}));
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

TEST(Shell, RecorderRestoresTheOuterOne) {
    const testsupport::RecordedShell outer;
    {
        const testsupport::RecordedShell inner;
        platform::ShellOpen("www.inner.example");
        EXPECT_EQ(inner.opened(), (Links{"http://www.inner.example"}));
    }
    platform::ShellOpen("www.outer.example");
    EXPECT_EQ(outer.opened(), (Links{"http://www.outer.example"}));
}

}  // namespace

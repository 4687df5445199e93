#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <string>

#include "formats/Bytes.h"
#include "pages/ChildProgram.h"
#include "support/TempProgramFolder.h"

namespace {

using platform::ChildRun;
using namespace std::chrono_literals;

// Each way a child can end is told apart, and none takes the caller with it: a child that
// never ends, or ends before taking its input, neither holds nor kills the caller.
TEST(ChildProgramTest, EveryEndOfTheChildIsToldApartWithinTheDeadline) {
    struct Row {
        const char* what;
        std::string script;  // empty: no program at all
        std::string input;
        ChildRun::End end;
        int status;
        const char* output;
    };
    const std::string large(4 << 20, 'i');
    const Row rows[] = {
        {"echoes its input", "cat", "page bytes", ChildRun::End::kExited, 0, "page bytes"},
        {"takes a large input whole", "wc -c", large, ChildRun::End::kExited, 0, "4194304\n"},
        {"ends before reading a large input", "exit 3", large, ChildRun::End::kExited, 3, ""},
        {"is ended by a signal", "kill -SEGV $$", "", ChildRun::End::kSignalled, 11, ""},
        {"never ends", "exec sleep 30", "", ChildRun::End::kLate, 0, ""},
        {"closes its output and goes on", "exec >&-; exec sleep 30", "", ChildRun::End::kLate, 0,
         ""},
        {"is missing", "", "", ChildRun::End::kNotStarted, 0, ""},
    };
    testsupport::TempProgramFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto program = folder.path() / "child";
        std::filesystem::remove(program);
        if (!row.script.empty()) {
            const std::string text = "#!/bin/sh\n" + row.script + "\n";
            testsupport::WriteFile(program, formats::Bytes(text.begin(), text.end()));
            ::chmod(program.c_str(), 0700);
        }
        const ChildRun run = platform::RunChildProgram(program, row.input, 2s, 64);
        EXPECT_EQ(run.end, row.end) << run.failure;
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.output, row.output);
        EXPECT_EQ(run.failure.empty(), row.end != ChildRun::End::kNotStarted);
    }
}

}  // namespace

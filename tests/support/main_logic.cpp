#include <gtest/gtest.h>

#include "evaluation/mod_Performance.h"
#include "exam/ExamSession.h"
#include "support/DataStoreRestorer.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::RestoreDataStoreAfterEachTest();
    exam::SetExamRecorder(mod_Performance::SavePerformanceRecord);
    return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QApplication>

#include "app/ProgramWindows.h"
#include "core/ScrollHandles.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamSession.h"
#include "pages/PageTrial.h"
#include "platform/QtMessageBox.h"
#include "support/DataStoreRestorer.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::RestoreDataStoreAfterEachTest();
    // Test discovery at build time needs no GUI.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The windows look as they do in the program.
    MakeScrollHandlesStandOut();
    page_trial::SetChildProgram(EXAMSIM_PAGE_TRIAL_CHILD);
    platform::SetMessageBoxHandler(platform::ShowQtMessageBox);
    // The windows reach each other as they do in the program.
    ProgramWindows windows;
    AppWindows::Install(&windows);
    exam::SetExamRecorder(mod_Performance::SavePerformanceRecord);
    const int result = RUN_ALL_TESTS();
    AppWindows::Install(nullptr);
    return result;
}

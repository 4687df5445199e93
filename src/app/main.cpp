#include <QApplication>
#include <QThreadPool>

#include "app/ProgramWindows.h"
#include "core/AppPaths.h"
#include "core/ScrollHandles.h"
#include "core/mod_Main.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamSession.h"
#include "pages/ChildProgram.h"
#include "pages/PageTrial.h"
#include "platform/QtMessageBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MakeScrollHandlesStandOut();
    // Qt hands large fills to a pool of one thread per core, started by the first paint; the
    // windows here are small enough for one helper, and start-up then starts only that one.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    platform::StartTrialServer(page_trial::ChildProgram());
    platform::SetMessageBoxHandler(platform::ShowQtMessageBox);
    AppPaths::SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    ProgramWindows windows;
    AppWindows::Install(&windows);
    exam::SetExamRecorder(mod_Performance::SavePerformanceRecord);
    mod_Main::Main(windows);
    // After a critical error no window is open and the program ends here.
    const int result = windows.StartedMainWindow() ? QApplication::exec() : 0;
    AppWindows::Install(nullptr);
    return result;
}

#include <QApplication>
#include <QThreadPool>
#include <QTimer>

#include "app/ProgramWindows.h"
#include "core/AppPaths.h"
#include "core/ScrollHandles.h"
#include "core/mod_Main.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamSession.h"

// The program's start-up (as its main() runs it, for the program folder given as the one
// argument), ending once the main window is shown and the events that showing posted are
// handled.
int main(int argc, char** argv) {
    if (argc != 2) return 2;
    QApplication app(argc, argv);
    MakeScrollHandlesStandOut();
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    AppPaths::SetProgramFolder(argv[1]);
    ProgramWindows windows;
    AppWindows::Install(&windows);
    exam::SetExamRecorder(mod_Performance::SavePerformanceRecord);
    mod_Main::Main(windows);
    if (!windows.StartedMainWindow()) return 1;
    // exit, not quit: quit would ask the main window to close, which asks the user.
    QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    const int result = QApplication::exec();
    AppWindows::Install(nullptr);
    return result;
}

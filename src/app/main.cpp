#include <QApplication>

#include "core/AppPaths.h"
#include "core/AppWindows.h"
#include "core/mod_Main.h"
#include "platform/QtMessageBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetMessageBoxHandler(platform::ShowQtMessageBox);
    AppPaths::SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    AppWindows windows;
    mod_Main::Main(windows);
    // After a critical error no window is open and the program ends here.
    return windows.MainWindow() ? QApplication::exec() : 0;
}

#include <QApplication>
#include <QMainWindow>

#include "core/AppPaths.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppPaths::SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    QMainWindow window;
    window.show();
    return QApplication::exec();
}

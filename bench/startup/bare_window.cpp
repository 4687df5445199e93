#include <QApplication>
#include <QMainWindow>
#include <QTimer>

// The least a Qt Widgets program does to show a main window, ended as startup_program ends.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}

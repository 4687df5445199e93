#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>

#include <memory>

#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "core/mod_Main.h"
#include "platform/QtMessageBox.h"
#include "platform/TextCodec.h"

namespace {

// Until the real windows exist: an empty main window under the product's title.
class PlaceholderWindows : public StartupWindows {
public:
    void ShowSplash() override {}
    void UnloadSplash() override {}
    void ShowMainWindow() override {
        window_ = std::make_unique<QMainWindow>();
        window_->setWindowTitle(
            platform::toQt(SystemVars.ProductName + " " + SystemVars.TitleSuffix));
        window_->resize(1024, 720);
        window_->show();
    }
    [[nodiscard]] bool mainWindowShown() const { return window_ != nullptr; }

private:
    std::unique_ptr<QMainWindow> window_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetMessageBoxHandler(platform::ShowQtMessageBox);
    AppPaths::SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    PlaceholderWindows windows;
    mod_Main::Main(windows);
    // After a critical error no window is open and the program ends here.
    return windows.mainWindowShown() ? QApplication::exec() : 0;
}

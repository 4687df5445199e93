#include "app/ProgramWindows.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <chrono>

#include "app/frm_Splash.h"
#include "app/mdi_Main.h"
#include "browsers/frm_FullView.h"
#include "browsers/mod_Viewer.h"
#include "core/AppPaths.h"
#include "evaluation/EvaluationWindow.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "platform/mod_Forms.h"

namespace {

// Found by name, so that a main window built by a test counts as well.
mdi_Main* loadedMainWindow() {
    return qobject_cast<mdi_Main*>(mod_Forms::Find("mdi_Main"));
}

// Long enough for any window manager to map a window; a display that never shows it costs
// no more than this.
constexpr std::chrono::milliseconds kSplashMapWait{2000};

// Until the window system has put the widget's window on the screen: paints before that are
// thrown away.
void waitUntilMapped(const QWidget& widget, std::chrono::milliseconds limit) {
    const QDeadlineTimer deadline(limit);
    // Ends the last wait for events should none come.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(limit);
    while (!widget.testAttribute(Qt::WA_Mapped) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

ProgramWindows::ProgramWindows() = default;
ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::ShowSplash() {
    splash_ = std::make_unique<frm_Splash>();
    splash_->show();
    // The bank loads without an event loop: paint now or never. A window manager maps the
    // window only after a round trip.
    waitUntilMapped(*splash_, kSplashMapWait);
    splash_->repaint();
}

void ProgramWindows::UnloadSplash() {
    splash_.reset();
}

mdi_Main* ProgramWindows::StartedMainWindow() const {
    return main_;
}

void ProgramWindows::ShowMainWindow() {
    main_ = new mdi_Main();
    main_->resize(1024, 740);
    main_->show();
}

QWidget* ProgramWindows::MainWindow() const {
    return loadedMainWindow();
}

void ProgramWindows::ShowInMainWindow(QWidget* child) {
    if (mdi_Main* main = loadedMainWindow())
        main->ShowChild(child);
    else
        child->show();
}

void ProgramWindows::SetExamEndHandler(std::function<void(int)> handler) {
    if (mdi_Main* main = loadedMainWindow()) main->SetExamEndHandler(std::move(handler));
}

AppWindows::CustomExamMenu ProgramWindows::CustomExamContextMenu() const {
    const mdi_Main* main = loadedMainWindow();
    if (!main) return {};
    return {main->CustomExam_ContextMenu, main->CustomExam_mnuMaximumValue};
}

void ProgramWindows::ExamWindowClosing() {
    if (frm_SwitchBoard* board = frm_SwitchBoard::Find()) board->ExamWindowClosing();
}

void ProgramWindows::ExamWindowClosed(const std::filesystem::path& savePath) {
    frm_SwitchBoard* board = frm_SwitchBoard::Find();
    if (board) board->ExamWindowClosed(savePath);
    if (mdi_Main* main = loadedMainWindow()) {
        main->SetExamEndHandler({});
        if (board) main->ShowChild(board);
    }
}

void ProgramWindows::ShowEvaluationWindow() {
    evaluation::LoadEvaluationWindow();
}

bool ProgramWindows::PerformanceTabShown() const {
    const frm_SwitchBoard* board = frm_SwitchBoard::Find();
    return board && board->PerformanceTabShown();
}

FullViewResult ProgramWindows::ShowFullView(FullViewRequest request) {
    return frm_FullView::Show(loadedMainWindow(), std::move(request));
}

void ProgramWindows::ShowResourceDocument(const std::string& containerName, const QString& caption,
                                          const QPixmap& picture) {
    mod_Viewer::OpenResourceDocument(AppPaths::ResourcesFolder() / containerName, caption, picture);
}

#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/FullViewRequest.h"

class QAction;
class QMenu;
class QPixmap;
class QString;
class QWidget;

// What a window asks of the windows of another subsystem. The program (src/app/) provides
// it, so that no subsystem needs another one's window headers; until one is installed every
// request does nothing.
class AppWindows {
public:
    virtual ~AppWindows() = default;

    // The one installed for the whole program (a do-nothing one until then).
    static AppWindows& Get();
    // Installs `windows` (not owned); nullptr brings back the do-nothing one.
    static void Install(AppWindows* windows);

    // The main window, or nullptr: the owner of dialogs that belong to the whole program.
    [[nodiscard]] virtual QWidget* MainWindow() const = 0;
    // Shows a child window (the main screen, the exam window) in the main window's central
    // area; without a main window it is shown on its own.
    virtual void ShowInMainWindow(QWidget* child) = 0;
    // What closing the main window does while an exam runs (the end dialog); empty to clear.
    virtual void SetExamEndHandler(std::function<void(int reason)> handler) = 0;

    // The main window's hidden pop-up menu of the custom tab's level boxes, and its one item.
    struct CustomExamMenu {
        QMenu* menu = nullptr;
        QAction* maximumValue = nullptr;
    };
    [[nodiscard]] virtual CustomExamMenu CustomExamContextMenu() const = 0;

    // The exam window is about to close (before its exam is reset) and has closed: the main
    // screen takes over again with what its shown tab needs (`savePath` is the file the exam
    // was resumed from or saved to, or empty).
    virtual void ExamWindowClosing() = 0;
    virtual void ExamWindowClosed(const std::filesystem::path& savePath) = 0;

    // The evaluation window for the graded exam in CurrentExam.
    virtual void ShowEvaluationWindow() = 0;

    // Whether the main screen shows its performance tab (which keeps the history loaded).
    [[nodiscard]] virtual bool PerformanceTabShown() const = 0;

    // The full-view window over the request's questions, modal; returns once it has closed.
    virtual FullViewResult ShowFullView(FullViewRequest request) = 0;

    // A resource document of Data/Resources/ ("About.dat") in a new viewer window with the
    // opener's caption and picture; one that cannot be shown is reported and leaves no window.
    virtual void ShowResourceDocument(const std::string& containerName, const QString& caption,
                                      const QPixmap& picture) = 0;
};

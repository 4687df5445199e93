#pragma once

#include <QPointer>

#include <memory>

#include "core/AppWindows.h"
#include "core/mod_Main.h"

class frm_Splash;
class mdi_Main;

// The program's windows: the start-up steps (the splash while the bank loads, then the main
// window) and the requests the windows of one subsystem make of another's.
class ProgramWindows final : public StartupWindows, public AppWindows {
public:
    ProgramWindows();
    ~ProgramWindows() override;

    void ShowSplash() override;
    void UnloadSplash() override;
    void ShowMainWindow() override;

    // Null until shown, and again once the user has closed it.
    [[nodiscard]] mdi_Main* StartedMainWindow() const;

    QWidget* MainWindow() const override;
    void ShowInMainWindow(QWidget* child) override;
    void SetExamEndHandler(std::function<void(int reason)> handler) override;
    CustomExamMenu CustomExamContextMenu() const override;
    void ExamWindowClosing() override;
    void ExamWindowClosed(const std::filesystem::path& savePath) override;
    void ShowEvaluationWindow() override;
    bool PerformanceTabShown() const override;
    FullViewResult ShowFullView(FullViewRequest request) override;
    void ShowResourceDocument(const std::string& containerName, const QString& caption,
                              const QPixmap& picture) override;

private:
    std::unique_ptr<frm_Splash> splash_;
    QPointer<mdi_Main> main_;
};

#pragma once

#include <QPointer>

#include <memory>

#include "core/mod_Main.h"

class frm_Splash;
class mdi_Main;

// The window steps of start-up: the splash while the bank loads, then the main window.
class AppWindows : public StartupWindows {
public:
    AppWindows();
    ~AppWindows() override;

    void ShowSplash() override;
    void UnloadSplash() override;
    void ShowMainWindow() override;

    // Null until shown, and again once the user has closed it.
    [[nodiscard]] mdi_Main* MainWindow() const;

private:
    std::unique_ptr<frm_Splash> splash_;
    QPointer<mdi_Main> main_;
};

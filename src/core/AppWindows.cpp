#include "core/AppWindows.h"

#include "core/frm_Splash.h"
#include "core/mdi_Main.h"

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;

void AppWindows::ShowSplash() {
    splash_ = std::make_unique<frm_Splash>();
    splash_->show();
    // The bank loads without an event loop: paint now or never.
    splash_->repaint();
}

void AppWindows::UnloadSplash() {
    splash_.reset();
}

mdi_Main* AppWindows::MainWindow() const {
    return main_;
}

void AppWindows::ShowMainWindow() {
    main_ = new mdi_Main();
    main_->resize(1024, 740);
    main_->show();
}

#pragma once

// The window steps of start-up, provided by the window layer (and by fakes in tests).
class StartupWindows {
public:
    virtual ~StartupWindows() = default;
    // Shown and painted at once: the bank loads without processing events.
    virtual void ShowSplash() = 0;
    virtual void UnloadSplash() = 0;
    virtual void ShowMainWindow() = 0;
};

namespace mod_Main {

// The start-up road: system variables, DataKey, title, settings, then StartApplication.
void Main(StartupWindows& windows);
// Splash, question bank and statistics, then the main window unless AbortFlag is set.
void StartApplication(StartupWindows& windows);

}  // namespace mod_Main

#include "core/mod_Main.h"

#include <cctype>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/SystemVars.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "core/mod_User.h"
#include "platform/MessageBox.h"

namespace mod_Main {

void Main(StartupWindows& windows) {
    AbortFlag = false;
    mod_System::LoadSystemVars();
    if (AbortFlag) return;

    for (char& c : SystemVars.DataKeySource)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto key = MakeDataKey(SystemVars.DataKeySource);
    // A damaged System.dat must stop start-up before any user file is judged by it.
    if (!key || SystemVars.ProductCode.empty()) {
        mod_System::ShowCriticalError(AppPaths::SystemDat());
        return;
    }
    SystemVars.DataKeySource = *key;
    DataKey = *key;

    platform::SetApplicationTitle(SystemVars.ProductName + " " + SystemVars.TitleSuffix);
    mod_User::LoadConfig();
    if (!AbortFlag) StartApplication(windows);
}

void StartApplication(StartupWindows& windows) {
    windows.ShowSplash();
    mod_Question::LoadQuestionBank();
    windows.UnloadSplash();
    if (!AbortFlag) windows.ShowMainWindow();
}

}  // namespace mod_Main

#pragma once

// The four boxes the user asked not to see again.
struct UserSettingsRecord {
    bool SkipResetTimerConfirm = false;
    bool SkipStopTimerConfirm = false;
    bool SkipSaveExamNotice = false;
    bool SkipZeroTotalNotice = false;
};

inline UserSettingsRecord UserSettings;

namespace mod_User {

// Reads Data/Config.dat, writing the defaults first when it is missing; failure only
// through AbortFlag.
void LoadConfig();
// Writes the current settings; false (reported) when the file cannot be written.
bool SaveConfig();

}  // namespace mod_User

#include "core/mod_User.h"

#include "core/AppPaths.h"
#include "core/mod_Helper.h"
#include "core/mod_System.h"

namespace mod_User {

namespace {

constexpr std::uint64_t kConfigBodyBytes = 8;

bool writeConfig(mod_System::WriteFailure failure) {
    formats::BinaryWriter body;
    body.writeBool(UserSettings.SkipResetTimerConfirm);
    body.writeBool(UserSettings.SkipStopTimerConfirm);
    body.writeBool(UserSettings.SkipSaveExamNotice);
    body.writeBool(UserSettings.SkipZeroTotalNotice);
    return mod_System::WriteSignedFile(AppPaths::ConfigDat(), "", body, failure);
}

}  // namespace

bool SaveConfig() {
    return writeConfig(mod_System::WriteFailure::kReport);
}

void LoadConfig() {
    const auto path = AppPaths::ConfigDat();
    if (!mod_Helper::FileExists(path) && !writeConfig(mod_System::WriteFailure::kStopProgram))
        return;
    UserSettingsRecord loaded;
    const bool read = mod_System::ReadSignedFile(
        path,
        [&loaded](formats::BinaryReader& in) {
            loaded.SkipResetTimerConfirm = in.readBool();
            loaded.SkipStopTimerConfirm = in.readBool();
            loaded.SkipSaveExamNotice = in.readBool();
            loaded.SkipZeroTotalNotice = in.readBool();
        },
        kConfigBodyBytes);
    if (!read || !mod_System::IsFileSignatureValid()) {
        mod_System::ShowCriticalError(path);
        return;
    }
    UserSettings = loaded;
}

}  // namespace mod_User

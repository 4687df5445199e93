#include "browsers/mod_Viewer.h"

#include "core/AbortFlag.h"
#include "core/SystemVars.h"
#include "core/cls_RCFile.h"
#include "core/mod_Helper.h"
#include "platform/MessageBox.h"

namespace mod_Viewer {

namespace {

void reportBrokenContainer(const std::filesystem::path& containerPath) {
    const std::string path = containerPath.string();
    platform::MsgBox(SystemVars.ViewerErrorTexts(0) + path, platform::kCritical,
                     SystemVars.ViewerErrorTexts(1) + path);
}

}  // namespace

std::string ShowResourceDocument(const std::filesystem::path& containerPath) {
    std::error_code ec;
    if (!mod_Helper::FileExists(containerPath) ||
        std::filesystem::file_size(containerPath, ec) < 1 || ec) {
        reportBrokenContainer(containerPath);
        return {};
    }
    cls_RCFile archive;
    archive.ExtractData(containerPath);
    ArchiveEntries.clear();
    if (AbortFlag) {
        // A broken document must not end the program.
        AbortFlag = false;
        reportBrokenContainer(containerPath);
    }
    return {};
}

}  // namespace mod_Viewer

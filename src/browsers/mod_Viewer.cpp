#include "browsers/mod_Viewer.h"

#include <QPixmap>
#include <QString>

#include <memory>

#include "browsers/ResourceDocument.h"
#include "browsers/frm_Viewer.h"
#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "platform/MessageBox.h"

namespace mod_Viewer {

bool ShowResourceDocument(frm_Viewer& viewer, const std::filesystem::path& containerPath) {
    const auto page = UnpackResourceDocument(containerPath, AppPaths::ResourcesTempFolder());
    const auto refusal = page ? viewer.ShowPage(*page) : std::nullopt;
    if (!page || refusal) {
        const std::string path = containerPath.string();
        platform::MsgBox(SystemVars.ViewerErrorTexts(message_text::kMessage) + path +
                             (refusal ? "\r\n" + *refusal : std::string()),
                         platform::kCritical,
                         SystemVars.ViewerErrorTexts(message_text::kCaption) + path);
        return false;
    }
    viewer.show();
    return true;
}

frm_Viewer* OpenResourceDocument(const std::filesystem::path& containerPath, const QString& caption,
                                 const QPixmap& picture) {
    auto viewer = std::make_unique<frm_Viewer>();
    viewer->SetTitle(caption, picture);
    if (!ShowResourceDocument(*viewer, containerPath)) return nullptr;
    return viewer.release();  // owned by itself now: it deletes itself when closed
}

}  // namespace mod_Viewer

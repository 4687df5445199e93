#include "browsers/mod_Viewer.h"

#include <QPixmap>
#include <QString>

#include <memory>

#include "browsers/ResourceDocument.h"
#include "browsers/frm_Viewer.h"
#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "pages/PageRefusals.h"
#include "platform/MessageBox.h"

namespace mod_Viewer {

bool ShowResourceDocument(frm_Viewer& viewer, const std::filesystem::path& containerPath) {
    const auto page = UnpackResourceDocument(containerPath, AppPaths::ResourcesTempFolder());
    const std::string path = containerPath.string();
    if (!page) {
        platform::MsgBox(SystemVars.ViewerErrorTexts(message_text::kMessage) + path,
                         platform::kCritical,
                         SystemVars.ViewerErrorTexts(message_text::kCaption) + path);
        return false;
    }
    // An intact page that cannot be shown is no missing or damaged file.
    if (const auto refusal = viewer.ShowPage(*page)) {
        platform::MsgBox(page_refusals::DocumentPageNotShown(*refusal, path), platform::kCritical,
                         page_refusals::DocumentPageNotShownTitle(path));
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

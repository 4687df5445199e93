#pragma once

#include <filesystem>

class QPixmap;
class QString;
class frm_Viewer;

namespace mod_Viewer {

// Checks and unpacks the container (see UnpackResourceDocument) and shows its page in
// `viewer`, modeless and without an owner. On failure the viewer's error message names the
// path, the viewer stays hidden, and false is returned.
bool ShowResourceDocument(frm_Viewer& viewer, const std::filesystem::path& containerPath);

// A new viewer with the opener's caption and picture, showing the container; nullptr after
// the error message when it cannot be shown (no window is left behind).
frm_Viewer* OpenResourceDocument(const std::filesystem::path& containerPath, const QString& caption,
                                 const QPixmap& picture);

}  // namespace mod_Viewer

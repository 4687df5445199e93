#pragma once

#include <filesystem>
#include <string>

namespace mod_Viewer {

// Shows a packed resource document. A container that is missing, empty or unreadable is
// reported with the viewer's error box and nothing is shown.
std::string ShowResourceDocument(const std::filesystem::path& containerPath);

}  // namespace mod_Viewer

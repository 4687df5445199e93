#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace mod_Viewer {

// Whether the viewer would show a document's page (Windows-1252, its placeholders standing for
// `folder`, which holds its files): nullopt, or why not. The page is tried as the viewer lays it
// out at its narrowest, with its pictures.
std::optional<std::string> JudgeDocumentPage(const std::string& page,
                                             const std::filesystem::path& folder);

}  // namespace mod_Viewer

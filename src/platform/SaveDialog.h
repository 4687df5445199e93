#pragma once

#include <filesystem>
#include <functional>

class QWidget;

namespace platform {

// Asks where to save an exam; returns "" when the user cancels.
using SavePathChooser = std::function<std::filesystem::path(QWidget* owner)>;

// The save dialog for *.sav files, starting in `startFolder` (created first). A name typed
// without extension gets ".sav".
std::filesystem::path ChooseSavePath(QWidget* owner, const std::filesystem::path& startFolder);

// Replaces the dialog (tests script it); an empty chooser brings the dialog back. Returns
// the chooser that was installed.
SavePathChooser SetSavePathChooser(SavePathChooser chooser);

}  // namespace platform

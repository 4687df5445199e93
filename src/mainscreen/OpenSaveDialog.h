#pragma once

#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

namespace mainscreen {

// Asks for a saved exam to open, starting in `folder`; nullopt when the user cancels.
using OpenSaveChooser = std::function<std::optional<std::filesystem::path>(
    QWidget* parent, const std::filesystem::path& folder)>;

// Replaces the open dialog (tests script it); an empty chooser puts the real dialog back.
// Returns the chooser that was installed.
OpenSaveChooser SetOpenSaveChooser(OpenSaveChooser chooser);

std::optional<std::filesystem::path> ChooseSaveToOpen(QWidget* parent,
                                                      const std::filesystem::path& folder);

}  // namespace mainscreen

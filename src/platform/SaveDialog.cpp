#include "platform/SaveDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include <system_error>
#include <utility>

namespace platform {

namespace {

SavePathChooser& installedChooser() {
    static SavePathChooser chooser;
    return chooser;
}

std::filesystem::path askWithDialog(QWidget* owner, const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    QFileDialog dialog(owner, QString(), QFileInfo(folder).absoluteFilePath(),
                       QStringLiteral("Vellacorn Save File (*.sav)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("sav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QFileInfo(dialog.selectedFiles().constFirst()).filesystemAbsoluteFilePath();
}

}  // namespace

std::filesystem::path ChooseSavePath(QWidget* owner, const std::filesystem::path& startFolder) {
    const SavePathChooser& chooser = installedChooser();
    std::filesystem::path path = chooser ? chooser(owner) : askWithDialog(owner, startFolder);
    if (!path.empty() && !path.has_extension()) path += ".sav";
    return path;
}

SavePathChooser SetSavePathChooser(SavePathChooser chooser) {
    return std::exchange(installedChooser(), std::move(chooser));
}

}  // namespace platform

#include "mainscreen/OpenSaveDialog.h"

#include <QFileDialog>
#include <QString>

#include <utility>

namespace mainscreen {

namespace {

std::optional<std::filesystem::path> showOpenDialog(QWidget* parent,
                                                    const std::filesystem::path& folder) {
    const QString chosen = QFileDialog::getOpenFileName(
        parent, QString(), QString::fromStdU16String(folder.u16string()),
        QStringLiteral("Vellacorn Save File (*.sav)"));
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdU16String());
}

OpenSaveChooser& installed() {
    static OpenSaveChooser chooser;
    return chooser;
}

}  // namespace

OpenSaveChooser SetOpenSaveChooser(OpenSaveChooser chooser) {
    return std::exchange(installed(), std::move(chooser));
}

std::optional<std::filesystem::path> ChooseSaveToOpen(QWidget* parent,
                                                      const std::filesystem::path& folder) {
    const OpenSaveChooser& chooser = installed();
    return chooser ? chooser(parent, folder) : showOpenDialog(parent, folder);
}

}  // namespace mainscreen

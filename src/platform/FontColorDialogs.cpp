#include "platform/FontColorDialogs.h"

#include <QColorDialog>

#include <utility>

#include "platform/FontDialog.h"

namespace platform {

namespace {

FontChooser& installedFontChooser() {
    static FontChooser chooser;
    return chooser;
}

ColorChooser& installedColorChooser() {
    static ColorChooser chooser;
    return chooser;
}

}  // namespace

std::optional<FontChoice> ChooseFont(const FontChoice& initial, QWidget* owner) {
    if (const FontChooser& chooser = installedFontChooser()) return chooser(initial, owner);
    FontDialog dialog(initial, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

std::optional<QColor> ChooseColor(const QColor& initial, QWidget* owner) {
    if (const ColorChooser& chooser = installedColorChooser()) return chooser(initial, owner);
    const QColor chosen = QColorDialog::getColor(initial, owner);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

FontChooser SetFontChooser(FontChooser chooser) {
    return std::exchange(installedFontChooser(), std::move(chooser));
}

ColorChooser SetColorChooser(ColorChooser chooser) {
    return std::exchange(installedColorChooser(), std::move(chooser));
}

}  // namespace platform

#include "platform/FontColorDialogs.h"

#include <QColorDialog>
#include <QFontDialog>

#include <utility>

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

std::optional<QFont> ChooseFont(const QFont& initial, QWidget* owner) {
    if (const FontChooser& chooser = installedFontChooser()) return chooser(initial, owner);
    bool accepted = false;
    const QFont chosen =
        QFontDialog::getFont(&accepted, initial, owner, QString(), QFontDialog::ScalableFonts);
    if (!accepted) return std::nullopt;
    return chosen;
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

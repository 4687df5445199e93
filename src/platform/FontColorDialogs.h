#pragma once

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

// The font dialog (scalable fonts, with underline and strikeout) starting at `initial`;
// nullopt when the user cancels.
std::optional<QFont> ChooseFont(const QFont& initial, QWidget* owner);

// The colour dialog starting at `initial`; nullopt when the user cancels.
std::optional<QColor> ChooseColor(const QColor& initial, QWidget* owner);

using FontChooser = std::function<std::optional<QFont>(const QFont& initial, QWidget* owner)>;
using ColorChooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* owner)>;

// Replace the dialogs (tests answer them); an empty chooser brings the dialog back. Each
// returns the chooser that was installed.
FontChooser SetFontChooser(FontChooser chooser);
ColorChooser SetColorChooser(ColorChooser chooser);

}  // namespace platform

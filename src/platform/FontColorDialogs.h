#pragma once

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

// The fields of the font dialog: the font (family, size, bold, italic, underline, strikeout)
// and the text colour.
struct FontChoice {
    QFont font;
    QColor colour;
};

// The largest font a page shows, in points: a page's own larger sizes are brought down to it
// before it is laid out, so the dialog offers no more, and what is saved shows as it was typed.
inline constexpr double kLargestFontPoints = 500;

// The font dialog (platform/FontDialog.h) starting at `initial`; nullopt when the user cancels.
std::optional<FontChoice> ChooseFont(const FontChoice& initial, QWidget* owner);

// The colour dialog starting at `initial`; nullopt when the user cancels.
std::optional<QColor> ChooseColor(const QColor& initial, QWidget* owner);

using FontChooser =
    std::function<std::optional<FontChoice>(const FontChoice& initial, QWidget* owner)>;
using ColorChooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* owner)>;

// Replace the dialogs (tests answer them); an empty chooser brings the dialog back. Each
// returns the chooser that was installed.
FontChooser SetFontChooser(FontChooser chooser);
ColorChooser SetColorChooser(ColorChooser chooser);

}  // namespace platform

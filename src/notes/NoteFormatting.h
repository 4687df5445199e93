#pragma once

#include <QColor>
#include <QString>
#include <Qt>

#include <optional>

#include "platform/FontColorDialogs.h"

class QTextCursor;
class QTextEdit;

// What the notes editor's commands read from and do to the selection (or the caret's
// paragraph when nothing is selected). Every change is one undo step.
namespace NoteFormatting {

// The horizontal alignment shared by every paragraph of the selection (Qt::AlignLeft,
// AlignHCenter, AlignRight or AlignJustify); nullopt when they differ.
std::optional<Qt::Alignment> SelectionAlignment(const QTextCursor& cursor);
void Align(QTextCursor cursor, Qt::Alignment alignment);

// Whether every paragraph of the selection is in a bulleted list.
bool SelectionInBulletList(const QTextCursor& cursor);
// Takes the paragraphs out of their bulleted list when they all are in one, otherwise
// makes them one bulleted list.
void ToggleBullets(QTextCursor cursor);

// The font and colour of the selection's text, field by field; a field is empty where the
// text differs. Sizes are points.
struct SelectionFont {
    std::optional<QString> family;
    std::optional<qreal> pointSize;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<bool> strikeOut;
    std::optional<QColor> colour;
};
SelectionFont ReadSelectionFont(const QTextEdit& editor);

// `start` with the fields the selection has in common. The family is the one the text is
// drawn in: an alias such as "Sans Serif" gives way to the font behind it, whose styles the
// dialog can offer.
platform::FontChoice SeedFont(platform::FontChoice start, const SelectionFont& selection);

// Gives the selection (and the text typed next) each field in which `chosen` differs from
// `shown`, the choice the dialog opened with. False when nothing differed.
bool ApplyFont(QTextEdit& editor, const platform::FontChoice& shown,
               const platform::FontChoice& chosen);

// Bold, italic or underline for the whole selection, or off when all of it has it already.
enum class Style { Bold, Italic, Underline };
void ToggleStyle(QTextEdit& editor, Style style);

void ApplyColour(QTextEdit& editor, const QColor& colour);

}  // namespace NoteFormatting

#pragma once

class QTextDocument;

namespace page_geometry {

// Brings every length a page sets (line heights, margins, indents, spacing, paddings, borders,
// font and picture sizes) into ranges a page of ordinary length lays out in: only what is
// shown changes, never the file until the user edits and saves. The undo history is left
// empty.
void TameGeometry(QTextDocument& document);

}  // namespace page_geometry

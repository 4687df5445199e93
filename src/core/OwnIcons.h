#pragma once

#include <QIcon>

// Icons drawn by the program itself (16x16, with a 32x32 form for high-density screens).
namespace OwnIcons {

// Column-header arrow: up for ascending, down for descending.
QIcon sortArrow(bool ascending);

// Question-list icons: 1 unanswered, 2 correct, 3 wrong; a null icon otherwise.
QIcon resultIcon(int kind);

// Note-editor toolbar, 1 to 10: print, print preview, undo, redo, align left, centre,
// align right, bullet list, font, colour; a null icon otherwise.
QIcon noteToolbarIcon(int index);

}  // namespace OwnIcons

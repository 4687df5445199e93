#pragma once

#include <QComboBox>

namespace mod_ComboBox {

// Type-ahead for a key-press handler; returns the key code to pass on (0 = drop the key).
// 8 (backspace) and 32..127 search the list, every other code is dropped. The search text is
// the text before the caret (with a selection) or the whole text, plus the typed character, or
// minus one character for backspace; backspace with the caret at 0 or 1 clears the text. The
// first entry beginning with it (any case) is selected, the caret put after the search text and
// the rest selected. An unmatched key is dropped with `limitToList`, else passed on.
int ComboAutoComplete(QComboBox* combo, int keyCode, bool limitToList);

}  // namespace mod_ComboBox

// An editable combo box whose typing goes through ComboAutoComplete with limit to list on.
// Keys without a character (arrows, Delete, Home, End) and select-all keep their usual work;
// Enter and Escape are dropped by the box and left to its window (default and cancel buttons).
// An entry chosen by typing emits activated and textActivated, as one chosen from the list does.
class TypeAheadComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TypeAheadComboBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

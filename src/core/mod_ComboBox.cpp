#include "core/mod_ComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/SelectAllKey.h"

namespace {

constexpr int kBackspace = 8;

struct Completion {
    int key = 0;           // the key to pass on
    int selectedRow = -1;  // the entry selected by the search, -1 for none
};

Completion autoComplete(QComboBox& combo, int keyCode, bool limitToList) {
    const QString text = combo.currentText();
    const QLineEdit* edit = combo.lineEdit();
    const bool hasSelection = edit != nullptr && edit->hasSelectedText();
    const int caret = edit == nullptr ? static_cast<int>(text.size())
                      : hasSelection  ? edit->selectionStart()
                                      : edit->cursorPosition();

    QString search;
    if (keyCode == kBackspace) {
        if (caret < 2) {
            combo.setEditText(QString());
            return {};
        }
        search = hasSelection ? text.left(caret - 1) : text.left(text.size() - 1);
    } else if (keyCode >= 32 && keyCode <= 127) {
        search = (hasSelection ? text.left(caret) : text) + QChar(keyCode);
    } else {
        return {};
    }

    int found = -1;
    for (int row = 0; row < combo.count() && found < 0; ++row) {
        if (combo.itemText(row).startsWith(search, Qt::CaseInsensitive)) found = row;
    }
    if (found < 0) return {limitToList ? 0 : keyCode, -1};

    combo.setCurrentIndex(found);
    const QString entry = combo.itemText(found);
    combo.setEditText(entry);
    if (QLineEdit* line = combo.lineEdit()) {
        // Selecting backwards leaves the caret right after the search text.
        line->setSelection(static_cast<int>(entry.size()),
                           -static_cast<int>(entry.size() - search.size()));
    }
    return {0, found};
}

// The character code a key press delivers, as the platform's character message would; -1 for a
// key that delivers none (arrows, Delete, function keys).
int characterCode(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool control = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (event.key() == Qt::Key_Backspace) return control ? 127 : kBackspace;
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete) return -1;
    // Control combinations deliver control codes, none of them printable.
    if (control) return 0;
    return text.size() == 1 ? text.at(0).unicode() : 0x10000;
}

}  // namespace

namespace mod_ComboBox {

int ComboAutoComplete(QComboBox* combo, int keyCode, bool limitToList) {
    if (combo == nullptr) return keyCode;
    return autoComplete(*combo, keyCode, limitToList).key;
}

}  // namespace mod_ComboBox

TypeAheadComboBox::TypeAheadComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
}

void TypeAheadComboBox::keyPressEvent(QKeyEvent* event) {
    // Select-all changes no text, so it needs no search; without it typing could only append.
    if (SelectAllOnKey(*lineEdit(), *event)) return;
    const int code = characterCode(*event);
    if (code < 0) {
        QComboBox::keyPressEvent(event);
        return;
    }
    const Completion completion = autoComplete(*this, code, true);
    if (completion.selectedRow >= 0) {
        emit activated(completion.selectedRow);
        emit textActivated(itemText(completion.selectedRow));
    }
    const bool forWindow = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                           event->key() == Qt::Key_Escape;
    event->setAccepted(!forWindow);
}

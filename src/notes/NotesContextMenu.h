#pragma once

#include <QMenu>
#include <QPointer>

class NotesEditor;

// The main window's pop-up edit menu of the notes editors: Undo, Redo, Cut, Copy, Paste,
// Delete, Select All. One menu serves every editor; each item acts on the editor that
// opened it, whatever has the focus by then.
class NotesContextMenu : public QMenu {
    Q_OBJECT
public:
    // The first menu created becomes the main window's, until it is destroyed.
    explicit NotesContextMenu(QWidget* parent = nullptr);
    ~NotesContextMenu() override;

    [[nodiscard]] static NotesContextMenu* MainWindowMenu();

    // Sets the items' states from `editor` and pops the menu up at `globalPos`.
    void Popup(NotesEditor& editor, const QPoint& globalPos);

    // The editor the menu was last opened for; nullptr once it is gone.
    [[nodiscard]] NotesEditor* Target() const;

    QAction* MyNotes_ContextMenu_undo = nullptr;
    QAction* MyNotes_ContextMenu_redo = nullptr;
    QAction* MyNotes_ContextMenu_cut = nullptr;
    QAction* MyNotes_ContextMenu_copy = nullptr;
    QAction* MyNotes_ContextMenu_paste = nullptr;
    QAction* MyNotes_ContextMenu_delete = nullptr;
    QAction* MyNotes_ContextMenu_select_all = nullptr;

private:
    QAction* addItem(const char* name, const QString& caption, void (*act)(NotesEditor&));

    QPointer<NotesEditor> target_;
};

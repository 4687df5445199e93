#include "notes/NotesContextMenu.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "notes/NotesEditor.h"

namespace {

QPointer<NotesContextMenu>& mainWindowMenu() {
    static QPointer<NotesContextMenu> menu;
    return menu;
}

QTextEdit& box(NotesEditor& editor) {
    return *editor.Contents();
}

void copyItem(NotesEditor& editor) {
    box(editor).copy();
}

void selectAllItem(NotesEditor& editor) {
    box(editor).selectAll();
}

}  // namespace

NotesContextMenu::NotesContextMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("MyNotes_ContextMenu"));
    if (!mainWindowMenu()) mainWindowMenu() = this;
    MyNotes_ContextMenu_undo = addItem("MyNotes_ContextMenu_undo", QStringLiteral("Undo"),
                                       [](NotesEditor& e) { box(e).undo(); });
    MyNotes_ContextMenu_redo = addItem("MyNotes_ContextMenu_redo", QStringLiteral("Redo"),
                                       [](NotesEditor& e) { box(e).redo(); });
    addSeparator()->setObjectName(QStringLiteral("MyNotes_ContextMenu_bar0"));
    MyNotes_ContextMenu_cut = addItem("MyNotes_ContextMenu_cut", QStringLiteral("Cut"),
                                      [](NotesEditor& e) { box(e).cut(); });
    MyNotes_ContextMenu_copy =
        addItem("MyNotes_ContextMenu_copy", QStringLiteral("Copy"), copyItem);
    MyNotes_ContextMenu_paste = addItem("MyNotes_ContextMenu_paste", QStringLiteral("Paste"),
                                        [](NotesEditor& e) { box(e).paste(); });
    MyNotes_ContextMenu_delete =
        addItem("MyNotes_ContextMenu_delete", QStringLiteral("Delete"), [](NotesEditor& e) {
            QTextCursor cursor = box(e).textCursor();
            cursor.deleteChar();
            box(e).setTextCursor(cursor);
        });
    addSeparator()->setObjectName(QStringLiteral("MyNotes_ContextMenu_bar1"));
    MyNotes_ContextMenu_select_all =
        addItem("MyNotes_ContextMenu_select_all", QStringLiteral("Select All"), selectAllItem);
}

NotesContextMenu::~NotesContextMenu() {
    if (mainWindowMenu() == this) mainWindowMenu() = nullptr;
}

NotesContextMenu* NotesContextMenu::MainWindowMenu() {
    return mainWindowMenu();
}

NotesEditor* NotesContextMenu::Target() const {
    return target_;
}

QAction* NotesContextMenu::addItem(const char* name, const QString& caption,
                                   void (*act)(NotesEditor&)) {
    QAction* item = addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, [this, act] {
        NotesEditor* editor = target_;
        // Only an editor in edit mode is changed; Copy and Select All serve any.
        if (!editor) return;
        const bool changes = act != copyItem && act != selectAllItem;
        if (changes && editor->Contents()->isReadOnly()) return;
        act(*editor);
        editor->UpdateNotesToolbar();
    });
    return item;
}

void NotesContextMenu::Popup(NotesEditor& editor, const QPoint& globalPos) {
    target_ = &editor;
    const QTextEdit& text = *editor.Contents();
    const bool editable = !text.isReadOnly();
    const bool selection = text.textCursor().hasSelection();
    MyNotes_ContextMenu_undo->setEnabled(editable && text.document()->isUndoAvailable());
    MyNotes_ContextMenu_redo->setEnabled(editable && text.document()->isRedoAvailable());
    MyNotes_ContextMenu_paste->setEnabled(editable && text.canPaste());
    MyNotes_ContextMenu_select_all->setEnabled(!text.document()->isEmpty());
    MyNotes_ContextMenu_cut->setEnabled(editable && selection);
    MyNotes_ContextMenu_copy->setEnabled(selection);
    MyNotes_ContextMenu_delete->setEnabled(editable && selection);
    popup(globalPos);
}

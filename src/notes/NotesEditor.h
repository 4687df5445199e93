#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "notes/mod_MyNotes.h"
#include "platform/Printing.h"

class QAction;
class QDropEvent;
class QTextEdit;
class QToolBar;

// What a font or colour dialog remembers between uses; one per owner of a dialog.
struct NoteDialogMemory {
    QFont font;
    QColor colour = Qt::black;
};

// A notes editor: the note's rich-text document with its toolbar of fifteen positions
// (print, preview, undo, redo, three alignments, bullets, font, colour, and separators).
// Every window that shows a note carries one; the note files load into it and save from it.
class NotesEditor : public QWidget, public mod_MyNotes::NoteDocument {
    Q_OBJECT
public:
    // Which dialog memory the font and colour commands use: the main window's, shared by
    // every editor that uses it, or one of the editor's own.
    enum class Dialogs { MainWindow, Own };

    explicit NotesEditor(QWidget* parent = nullptr, Dialogs dialogs = Dialogs::MainWindow);

    [[nodiscard]] QTextEdit* Contents() const;
    [[nodiscard]] QToolBar* Toolbar() const { return toolbar_; }
    // The toolbar button of that key ("print", "preview", "undo", "redo", "left", "center",
    // "right", "bullet", "font", "color"); nullptr for any other.
    [[nodiscard]] QAction* Button(const QString& key) const;

    // The empty page an editor starts with: read-only, holding no question's note.
    void ShowBlankPage();

    // Runs the command of the button's key (exact, case-sensitive), then the alignment
    // refresh; an unknown key runs only the refresh.
    void ButtonClick(const QString& key);

    // Undo, redo, print and preview states.
    void UpdateNotesToolbar();
    // UpdateNotesToolbar, then the pressed states of the alignment and bullet buttons.
    void UpdateNotesAlignButtons();

    // The shared pop-up menu at `globalPos`, with this editor's states.
    void ShowContextMenu(const QPoint& globalPos);

    [[nodiscard]] bool IsNoteEmpty() const override;

    // Takes a drop on the note's text as one dragged from that text itself, as a move within
    // the note is; Qt's offscreen platform ends every real drag before it can drop.
    void DropFromItsOwnText(QDropEvent& event);

private:
    class TextBox;

    [[nodiscard]] std::optional<std::string> ShowNotePage(const std::string& html) override;
    void ShowUnreadableNote(const std::string& message) override;
    void ShowNoteText(const std::string& page, const std::string& why) override;
    [[nodiscard]] std::string NoteHtml() const override;
    [[nodiscard]] std::optional<page_refusals::Refusal> JudgeNote(
        const std::string& page) const override;
    [[nodiscard]] bool CanUndo() const override;
    [[nodiscard]] bool IsEdited() const override;
    void EndEditing() override;

    void buildToolbar();
    // A hidden box (its window not shown yet, its panel closed) is given the width it will show
    // at before a page is tried for it.
    void layOutHidden();
    // Puts another page in; the refreshes wait until it is complete.
    void replacePage(const std::function<void()>& change);
    // A cursor or selection change; none counts while a page is being replaced.
    void selectionMoved();
    // The states right after a page has loaded.
    void resetToolbar(bool printable);
    // Whether the note as it shows now would print, as the printer lays it out.
    [[nodiscard]] platform::PrintJudge printJudge() const;
    void fontCommand();
    void colourCommand();
    NoteDialogMemory& dialogMemory();

    QToolBar* toolbar_ = nullptr;
    TextBox* contents_ = nullptr;
    NoteDialogMemory ownDialogs_;
    Dialogs dialogs_;
    bool replacingPage_ = false;
};

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "pages/PageJudge.h"

// The note files: one HTML page per question in Data/MyNotes/, loaded into a notes editor
// and saved back from it. Shared by every window that carries an editor.
namespace mod_MyNotes {

// Data/MyNotes/<id>.html; a negative id keeps its sign ("-5.html").
std::filesystem::path NotePath(std::int32_t questionId);

// Whether the question has a note: its file exists.
bool HasNote(std::int32_t questionId);

// Far above anything a user types; a larger file is shown as unreadable, never read whole.
// What a save may write is held to the same figure.
inline constexpr std::uint64_t kMaxNoteBytes = page_judge::kPageLimits.pageBytes;

// What an editor shows for a question without a note file: ten lines joined by CR LF.
const std::string& DefaultNotePage();

// What the caller of a save does next: whether it can stay on the note when the save fails.
enum class Leaving { kCanStay, kClosing };

// What a notes editor offers the note files. Text is Windows-1252; characters beyond the
// code page travel as numeric character references.
class NoteDocument {
public:
    virtual ~NoteDocument() = default;

    // The question whose note the document was loaded for; nullopt before the first load.
    [[nodiscard]] std::optional<std::int32_t> LoadedQuestionId() const { return loadedId_; }
    // Whether that note has been saved (or deleted) since it was loaded.
    [[nodiscard]] bool NoteSaved() const { return saved_; }
    // Whether the note's file could not be read, or not shown with its formatting; no save
    // touches it then.
    [[nodiscard]] bool NoteUnreadable() const { return unreadable_; }

protected:
    NoteDocument() = default;
    NoteDocument(const NoteDocument&) = delete;
    NoteDocument& operator=(const NoteDocument&) = delete;

    // Forgets the note shown, as when the editor goes back to its blank page.
    void ForgetNote() { loadedId_.reset(), saved_ = false, unreadable_ = false; }

private:
    friend void LoadMyNotes(std::int32_t questionId, NoteDocument& editor);
    friend bool SaveMyNotes(std::int32_t questionId, NoteDocument& editor, Leaving leaving);

    // Replaces the document with the page, editable, with a fresh undo history; a page that
    // could not be shown in time is not shown: nullopt, or why not.
    [[nodiscard]] virtual std::optional<std::string> ShowNotePage(const std::string& html) = 0;
    // Shows why the note's file cannot be read, read-only.
    virtual void ShowUnreadableNote(const std::string& message) = 0;
    // Shows the page's text without its formatting, read-only, below why (see
    // page_refusals::NoteShownAsText).
    virtual void ShowNoteText(const std::string& page, const std::string& why) = 0;
    // The whole page as it would be written.
    [[nodiscard]] virtual std::string NoteHtml() const = 0;
    // Whether a page (Windows-1252) about to be written would be shown again: nullopt, or why
    // not, which says whether a trial could be run for it at all.
    [[nodiscard]] virtual std::optional<page_refusals::Refusal> JudgeNote(
        const std::string& page) const = 0;
    // No text and no picture.
    [[nodiscard]] virtual bool IsNoteEmpty() const = 0;
    [[nodiscard]] virtual bool CanUndo() const = 0;
    // Whether the user changed the page since it was shown.
    [[nodiscard]] virtual bool IsEdited() const = 0;
    // Makes the page read-only until the next load.
    virtual void EndEditing() = 0;

    std::optional<std::int32_t> loadedId_;
    bool saved_ = false;
    bool unreadable_ = false;
    bool loadedEmpty_ = false;  // nothing showed when loaded
};

// Shows the question's note in the editor: its file, or the default page when there is
// none. A file that exists but cannot be read (or is larger than kMaxNoteBytes) is shown as
// unreadable, with its path and the reason; a page that cannot be shown with its formatting
// (in time, or at all) is shown as its text alone. Either is read-only, and no save touches
// its file. The notes folder is created first.
void LoadMyNotes(std::int32_t questionId, NoteDocument& editor);

// Keeps what the editor holds as the question's note and ends editing: a note the user
// emptied deletes the file (one that showed nothing when loaded and was not edited is left
// as it is), any other is written when the editor can undo something. Acts only once per
// load and only for the question the editor was loaded for. A failed write or delete is
// reported with its reason, leaves the old file as it was and the editor editable with what
// was typed; false then, so that a caller that can stay holds its move.
[[nodiscard]] bool SaveMyNotes(std::int32_t questionId, NoteDocument& editor,
                               Leaving leaving = Leaving::kCanStay);

// The page as written to disk: any declaration of another character set removed, CR LF
// appended.
std::string NoteFileText(std::string html);

// A page Qt marked as its own, unmarked: Qt's reader wraps every block of such a page, so a line
// shown unwrapped would come back wrapped, at a cost that grows with the square of its length.
// Qt's style rule, which keeps the spaces of paragraphs and list items, then covers headings too.
// Any other page is returned as it is.
std::string UnmarkedAsQtsOwn(std::string page);

// The page a note file's text is shown as: without the line ends and blanks after it, which
// would come back as a blank at the end of the text, and unmarked as Qt's own (a note an
// earlier version wrote keeps its unwrapped lines).
std::string PageOfFile(std::string text);

}  // namespace mod_MyNotes

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// The note files: one HTML page per question in Data/MyNotes/, loaded into a notes editor
// and saved back from it. Shared by every window that carries an editor.
namespace mod_MyNotes {

// Data/MyNotes/<id>.html; a negative id keeps its sign ("-5.html").
std::filesystem::path NotePath(std::int32_t questionId);

// Whether the question has a note: its file exists.
bool HasNote(std::int32_t questionId);

// What an editor shows for a question without a note file: ten lines joined by CR LF.
const std::string& DefaultNotePage();

// What a notes editor offers the note files. Text is Windows-1252; characters beyond the
// code page travel as numeric character references.
class NoteDocument {
public:
    virtual ~NoteDocument() = default;

    // The question whose note the document was loaded for; nullopt before the first load.
    [[nodiscard]] std::optional<std::int32_t> LoadedQuestionId() const { return loadedId_; }
    // Whether that note has been saved (or deleted) since it was loaded.
    [[nodiscard]] bool NoteSaved() const { return saved_; }

protected:
    NoteDocument() = default;
    NoteDocument(const NoteDocument&) = delete;
    NoteDocument& operator=(const NoteDocument&) = delete;

    // Forgets the note shown, as when the editor goes back to its blank page.
    void ForgetNote() { loadedId_.reset(), saved_ = false; }

private:
    friend void LoadMyNotes(std::int32_t questionId, NoteDocument& editor);
    friend void SaveMyNotes(std::int32_t questionId, NoteDocument& editor);

    // Replaces the document with the page, editable, with a fresh undo history.
    virtual void ShowNotePage(const std::string& html) = 0;
    // The whole page as it would be written.
    [[nodiscard]] virtual std::string NoteHtml() const = 0;
    // No text and no picture.
    [[nodiscard]] virtual bool IsNoteEmpty() const = 0;
    [[nodiscard]] virtual bool CanUndo() const = 0;
    // Makes the page read-only until the next load.
    virtual void EndEditing() = 0;

    std::optional<std::int32_t> loadedId_;
    bool saved_ = false;
};

// Shows the question's note in the editor: its file, or the default page when there is
// none. The notes folder is created first.
void LoadMyNotes(std::int32_t questionId, NoteDocument& editor);

// Keeps what the editor holds as the question's note and ends editing: an empty note
// deletes the file, any other is written when the editor can undo something. Acts only
// once per load and only for the question the editor was loaded for; a failed write or
// delete is reported and leaves the old file as it was.
void SaveMyNotes(std::int32_t questionId, NoteDocument& editor);

// The page as written to disk: any declaration of another character set removed, CR LF
// appended.
std::string NoteFileText(std::string html);

}  // namespace mod_MyNotes

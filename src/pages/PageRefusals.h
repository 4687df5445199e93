#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Why a page cannot go into a rich-text box, as its cause and figures, and the words the user
// reads for it: every refusal of a page is worded here, fitted to what the page holds and to
// what the user was doing with it.
namespace page_refusals {

enum class Cause : std::uint8_t {
    kTooLarge,     // limit and amount in bytes
    kPictureData,  // pictures written into the page: limit and amount in bytes
    kLinkData,     // data written into links' addresses: limit and amount in bytes
    kPictureAndLinkData,
    kTooManyParts,     // starts and ends of paragraphs, cells and formatting: limit
    kTooManyCells,     // limit
    kTooManyPictures,  // limit
    kTablesTooDeep,    // limit
    kNestedTooDeep,    // limit
    kTooSlow,          // limit in microseconds
    kTooMuchMemory,    // limit in bytes
    kCheckLate,        // the computer was too busy: limit in microseconds
    kCheckerMissing,   // the child program cannot start: program and failure
    kCheckFailed,      // the child program ended without an answer
};

// What the page holds, as far as it is known: the advice names only what is there.
struct Contents {
    bool tables = false;
    bool pictures = false;
    bool plainText = false;  // text alone, with no formatting
};

struct Refusal {
    Refusal() = default;
    Refusal(Cause why, std::uint64_t bound, std::uint64_t measured = 0, Contents contents = {})
        : cause(why), limit(bound), amount(measured), holds(contents) {}

    Cause cause = Cause::kCheckFailed;
    std::uint64_t limit = 0;
    std::uint64_t amount = 0;  // 0 when not measured
    Contents holds;
    std::string program;  // Windows-1252
    std::string failure;
};

// Whether the page itself was refused: not only because no trial could be run for it (the
// program that runs them is missing, or none finished on a busy computer).
[[nodiscard]] bool Tried(const Refusal& refusal);

// What the refused page is to the user.
enum class Subject : std::uint8_t {
    kPage,           // a page of no particular kind
    kDocumentPage,   // a shipped document's page
    kNote,           // a note being opened
    kNoteFile,       // a note's file, refused before it is read
    kSavedNote,      // the note as a save would write it
    kPaste,          // what a paste or a drop brings, on its own
    kNoteWithPaste,  // the note a paste or a drop would make
};

// What is wrong and what would help, in sentences (Windows-1252).
[[nodiscard]] std::string Reason(const Refusal& refusal, Subject subject);

// The message for a note whose intact file is not shown; its path follows the reason.
[[nodiscard]] std::string NoteNotShown(std::string_view reason, std::string_view path);

// What stands above a note shown as its plain text, read-only, instead of as its page: why
// (`reason`), and whether the text shown stops short of the file's (`cut`).
[[nodiscard]] std::string NoteShownAsText(std::string_view reason, bool cut);

// The message and title for a shipped document whose intact page is not shown.
[[nodiscard]] std::string DocumentPageNotShown(std::string_view reason, std::string_view path);
[[nodiscard]] std::string DocumentPageNotShownTitle(std::string_view path);

}  // namespace page_refusals

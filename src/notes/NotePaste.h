#pragma once

#include <QTextCharFormat>

#include <optional>
#include <string>

class QTextCursor;
class QTextDocument;
class QTextDocumentFragment;

// What a paste or a drop would make of a note, judged as the note it would be saved as.
namespace note_paste {

// Where the fragment would go: the selection it replaces, and for a move within the note the
// text taken out first (as positions before anything changes).
struct Insertion {
    int anchor = 0;
    int position = 0;
    std::optional<std::pair<int, int>> movedOut;
    // The format the caret holds for text pasted there (a size chosen before typing).
    std::optional<QTextCharFormat> caretFormat;
};

// The page the note would be written as, as it would be read back (Windows-1252).
[[nodiscard]] std::string JoinedPage(const QTextDocument& note, const Insertion& at,
                                     const QTextDocumentFragment& fragment);

}  // namespace note_paste

#pragma once

#include <QString>

#include <cstddef>
#include <string>

// A note's words without their formatting, for a note whose page cannot be shown: the text
// a user reads and may copy, at a cost bounded whatever the page holds.
namespace note_text {

// Plain text in a box costs about its characters and its lines: these show in a fraction of a
// second even when every line holds one letter.
inline constexpr std::size_t kShownCharacters = 40'000;
inline constexpr std::size_t kShownLines = 4'000;

struct NoteText {
    QString text;
    bool cut = false;  // the page holds more than the limits let show
};

// The page's (Windows-1252) text: markup, style sheets and scripts removed, a line for each
// paragraph, break, row or list item, spaces collapsed outside preformatted blocks, character
// references read back.
[[nodiscard]] NoteText TextOf(const std::string& page);

}  // namespace note_text

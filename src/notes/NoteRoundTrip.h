#pragma once

class QString;
class QTextDocument;

// What Qt loses between writing a note and reading it back, mended on both sides: a note is
// shown as it will read back, and written so that it reads back as it shows.
namespace note_round_trip {

// Before a note is shown: drops the empty lines Qt neither writes nor reads back, puts a line
// written right below a table back onto the table's closing line, and one written below that
// line when it is empty back below it, and gives a note that ends with a rule a line below it
// to type on.
void PrepareForShowing(QTextDocument& document);

// The page as Qt writes it, mended where Qt's reader, or PrepareForShowing after it, would put
// text elsewhere, drop it, or wrap a line shown unwrapped (which reads back unwrapped even by a
// plain QTextDocument::setHtml).
[[nodiscard]] QString WrittenHtml(const QTextDocument& document);

}  // namespace note_round_trip

#include "notes/NotePaste.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <memory>

#include "notes/NoteRoundTrip.h"
#include "notes/mod_MyNotes.h"
#include "platform/TextCodec.h"

namespace note_paste {

std::string JoinedPage(const QTextDocument& note, const Insertion& at,
                       const QTextDocumentFragment& fragment) {
    const std::unique_ptr<QTextDocument> joined(note.clone());
    QTextCursor insertion(joined.get());
    insertion.setPosition(at.anchor);
    insertion.setPosition(at.position, QTextCursor::KeepAnchor);
    if (at.movedOut) {
        // The insertion follows the text taken out, as Qt's own drop does.
        QTextCursor moved(joined.get());
        moved.setPosition(at.movedOut->first);
        moved.setPosition(at.movedOut->second, QTextCursor::KeepAnchor);
        moved.removeSelectedText();
    }
    if (at.caretFormat && at.anchor == at.position) insertion.setCharFormat(*at.caretFormat);
    insertion.insertFragment(fragment);
    return mod_MyNotes::PageOfFile(
        mod_MyNotes::NoteFileText(platform::fromQtHtml(note_round_trip::WrittenHtml(*joined))));
}

}  // namespace note_paste

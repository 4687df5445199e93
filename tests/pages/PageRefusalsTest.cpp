#include <gtest/gtest.h>

#include <string>

#include "pages/PageRefusals.h"

namespace {

using page_refusals::Cause;
using page_refusals::Contents;
using page_refusals::Refusal;
using page_refusals::Subject;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
// Tables, pictures, plain text.
constexpr Contents kNothing{false, false, false};
constexpr Contents kTables{true, false, false};
constexpr Contents kTablesAndPictures{true, true, false};
constexpr Contents kPictures{false, true, false};
constexpr Contents kPlainText{false, false, true};

Refusal checkerMissing() {
    Refusal refusal(Cause::kCheckerMissing, 0);
    refusal.program = "/opt/sim/helper";
    refusal.failure = "No such file or directory";
    return refusal;
}

// Each refusal in the user's words: the subject the user knows, the cause with its figures
// grouped by thousands, and advice that names only what the page holds.
TEST(PageRefusalsTest, EachRefusalSaysWhatIsWrongAndWhatWouldHelp) {
    struct Row {
        const char* what = nullptr;
        Refusal refusal;
        Subject subject = Subject::kPage;
        const char* sentence = nullptr;
    };
    const Row rows[] = {
        {"a small note whose saved form is large",
         {Cause::kTooLarge, 16 * kMiB, 17 * kMiB + 300'000, kNothing},
         Subject::kSavedNote,
         "Saved with its formatting, the note would be 17.3 MB, more than the 16 MB a note may "
         "hold. Shorter text or less formatting would fit."},
        {"plain text one byte over: never reads as the bound",
         {Cause::kTooLarge, 16 * kMiB, 16 * kMiB + 1, kPlainText},
         Subject::kPaste,
         "What you pasted is 16.1 MB, more than the 16 MB a note may hold. Shorter text would "
         "fit."},
        {"a document page with pictures",
         {Cause::kTooLarge, 16 * kMiB, 20 * kMiB, kPictures},
         Subject::kDocumentPage,
         "The page is 20.0 MB, more than the 16 MB a page may hold. Shorter text, less "
         "formatting or smaller pictures would fit."},
        {"a note file never read",
         {Cause::kTooLarge, 16 * kMiB},
         Subject::kNoteFile,
         "The note's file is larger than 16 MB, the most a note may hold. A smaller file would "
         "show."},
        {"a 7 MB picture pasted into a short note",
         {Cause::kPictureData, 6 * kMiB, 7 * kMiB, kPictures},
         Subject::kPaste,
         "What you pasted holds 7.0 MB of pictures, more than the 6 MB a note may hold. Fewer or "
         "smaller pictures would fit."},
        {"a 4 MB picture pasted into a note holding 4 MB",
         {Cause::kPictureData, 6 * kMiB, 8 * kMiB, kPictures},
         Subject::kNoteWithPaste,
         "With what you pasted, the note would hold 8.0 MB of pictures, more than the 6 MB a note "
         "may hold. Fewer or smaller pictures would fit."},
        {"links are no pictures",
         {Cause::kLinkData, 6 * kMiB, 6 * kMiB + 100'000},
         Subject::kPaste,
         "What you pasted holds 6.1 MB of data in the addresses of its links, more than the 6 MB "
         "a note may hold. Shorter links would fit."},
        {"pictures and links",
         {Cause::kPictureAndLinkData, 6 * kMiB, 9 * kMiB},
         Subject::kNote,
         "The note holds 9.0 MB of pictures and of data in the addresses of its links, more than "
         "the 6 MB a note may hold. Fewer or smaller pictures, or shorter links, would fit."},
        {"120,000 pasted lines",
         {Cause::kTooManyParts, 200'000},
         Subject::kNoteWithPaste,
         "With what you pasted, the note would have too many paragraphs and changes of "
         "formatting: more than 200,000, counting where each begins and where it ends. Fewer "
         "lines or less formatting would fit."},
        {"too many parts in a page with tables",
         {Cause::kTooManyParts, 200'000, 0, kTables},
         Subject::kDocumentPage,
         "The page has too many paragraphs and changes of formatting: more than 200,000, "
         "counting where each begins and where it ends. Fewer lines, less formatting or smaller "
         "tables would fit."},
        {"cells, seven digits grouped",
         {Cause::kTooManyCells, 1'234'567, 0, kTables},
         Subject::kNote,
         "The note has tables of more than 1,234,567 cells together, counting a cell once for "
         "every column it spans. Fewer or smaller tables would fit."},
        {"pictures",
         {Cause::kTooManyPictures, 2'500, 0, kPictures},
         Subject::kPaste,
         "What you pasted has more than 2,500 pictures. Fewer pictures would fit."},
        {"tables ten deep, no separator below a thousand",
         {Cause::kTablesTooDeep, 10, 0, kTables},
         Subject::kSavedNote,
         "Saved with its formatting, the note would have tables inside tables more than 10 levels "
         "deep. Fewer tables inside one another would fit."},
        {"nesting",
         {Cause::kNestedTooDeep, 100},
         Subject::kDocumentPage,
         "The page has lists, quotes, tables or formatting inside one another more than 100 "
         "levels deep. Fewer levels inside one another would fit."},
        {"a slow page without tables (a style sheet, a bidi text)",
         {Cause::kTooSlow, 500'000},
         Subject::kDocumentPage,
         "The page takes longer than 0.5 seconds to show. Shorter text or less formatting would "
         "show in time."},
        {"a slow note with tables and pictures, the sanitizers' budget",
         {Cause::kTooSlow, 4'000'000, 0, kTablesAndPictures},
         Subject::kNote,
         "The note takes longer than 4 seconds to show. Shorter text, less formatting, smaller "
         "tables or smaller pictures would show in time."},
        {"a slow paste in a note",
         {Cause::kTooSlow, 500'000},
         Subject::kNoteWithPaste,
         "With what you pasted, the note would take longer than 0.5 seconds to show. Shorter "
         "text or less formatting would show in time."},
        {"memory",
         {Cause::kTooMuchMemory, std::uint64_t{1} << 30, 0, kTables},
         Subject::kNote,
         "The note needs more than 1 GB of memory to show. Shorter text or smaller tables would "
         "fit in memory."},
        {"a busy computer",
         {Cause::kCheckLate, 14'000'000},
         Subject::kPaste,
         "What you pasted could not be made ready to show within 14 seconds; the computer may be "
         "busy. Trying again when the computer is less busy may work."},
        {"the helper program missing", checkerMissing(), Subject::kNote,
         "The note cannot be made ready to show: the program that does it, "
         "/opt/sim/helper, cannot be started (No such file or directory). "
         "Installing the program again would bring it back."},
        {"the helper program failing",
         {Cause::kCheckFailed, 0},
         Subject::kPage,
         "It could not be made ready to show: the program that does it stopped with an error. "
         "Shorter text or less formatting may show."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string reason = page_refusals::Reason(row.refusal, row.subject);
        EXPECT_EQ(reason, row.sentence);
        for (const char* jargon : {"lay out", "laid out", "trial", "element", "pixel"})
            EXPECT_EQ(reason.find(jargon), std::string::npos) << jargon;
    }
}

// The messages around a reason: a note's path after it, a slow document page never called
// missing or damaged, and the line above a note shown as its text.
TEST(PageRefusalsTest, TheMessagesPutTheReasonFirst) {
    const std::string reason = "The note has more than 2,500 pictures. Fewer pictures would fit.";
    struct Row {
        const char* what;
        std::string message;
        const char* expected;
    };
    const Row rows[] = {
        {"a note not shown", page_refusals::NoteNotShown(reason, "/home/u/MyNotes/7.html"),
         "This note cannot be shown:\nThe note has more than 2,500 pictures. Fewer pictures would "
         "fit.\n/home/u/MyNotes/7.html\nIts file is left as it is."},
        {"a note shown as its text", page_refusals::NoteShownAsText(reason, false),
         "This note is shown as plain text, read-only, and its file is left as it is. The note "
         "has more than 2,500 pictures. Fewer pictures would fit."},
        {"a note shown as the beginning of its text", page_refusals::NoteShownAsText(reason, true),
         "This note is shown as plain text, read-only, and its file is left as it is. The note "
         "has more than 2,500 pictures. Fewer pictures would fit. Only its beginning is shown; "
         "the file holds the rest."},
        {"a document page", page_refusals::DocumentPageNotShown(reason, "/d/Tips.dat"),
         "This document's page cannot be shown:\r\n\r\nThe note has more than 2,500 pictures. "
         "Fewer pictures would fit.\r\n\r\n/d/Tips.dat"},
        {"its title", page_refusals::DocumentPageNotShownTitle("/d/Tips.dat"),
         "Document Not Shown - /d/Tips.dat"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.message, row.expected);
    }
}

}  // namespace

#include "notes/mod_MyNotes.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "core/AppPaths.h"
#include "core/mod_Helper.h"
#include "formats/FileIo.h"
#include "formats/Windows1252.h"
#include "pages/PageRefusals.h"
#include "platform/MessageBox.h"

namespace mod_MyNotes {

namespace {

namespace fs = std::filesystem;

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    return std::equal(word.begin(), word.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

bool containsNoCase(std::string_view text, std::string_view word) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at)
        if (startsWithNoCase(text, at, word)) return true;
    return false;
}

std::string reasonText(const std::error_code& cause) {
    return cause ? cause.message() : std::string("The file could not be replaced.");
}

void reportNotSaved(const fs::path& path, const std::string& reason, Leaving leaving) {
    const char* const outcome = leaving == Leaving::kCanStay
                                    ? "The note stays open with what you typed."
                                    : "What you typed in it is lost.";
    platform::MsgBox("The note could not be saved:\r\n\r\n" + reason + "\r\n\r\n" +
                         formats::PathToWindows1252(path) + "\r\n\r\n" + outcome,
                     platform::kCritical);
}

std::string unreadableText(const fs::path& path, const std::string& reason) {
    return "This note cannot be read:\n" + reason + "\n" + formats::PathToWindows1252(path) +
           "\nIts file is left as it is.";
}

std::string unreadableText(const fs::path& path, formats::FileReadError why,
                           const std::error_code& cause) {
    std::string reason;
    switch (why) {
        case formats::FileReadError::kTooLarge:
            // Not damaged: only larger than any note the program writes.
            return page_refusals::NoteNotShown(
                page_refusals::Reason({page_refusals::Cause::kTooLarge, kMaxNoteBytes},
                                      page_refusals::Subject::kNoteFile),
                formats::PathToWindows1252(path));
        case formats::FileReadError::kNotAFile:
            reason = "It is not a file.";
            break;
        default:
            reason = reasonText(cause);
            break;
    }
    return unreadableText(path, reason);
}

// The note as it stands on disk: nothing there, its text, or why it cannot be shown.
struct NoteFile {
    bool exists = false;
    std::string page;
    std::optional<std::string> unreadable;
};

NoteFile readNoteFile(const fs::path& path) {
    NoteFile note;
    // Any entry of the note's name counts, a folder, a device or one that cannot even be
    // looked at included: it is not ours to replace by an empty note. Only true absence is no
    // note; the library's "not found" also covers a plain file on the way (ENOTDIR).
    std::error_code looked;
    (void)fs::symlink_status(path, looked);
    if (looked == std::errc::no_such_file_or_directory) return note;
    if (looked) {
        note.exists = true;
        note.unreadable = unreadableText(path, formats::FileReadError::kReadFailed, looked);
        return note;
    }
    formats::FileReadError why = formats::FileReadError::kNone;
    std::error_code cause;
    const auto bytes = formats::ReadFileBytes(path, kMaxNoteBytes, &why, &cause);
    if (why == formats::FileReadError::kMissing) return note;
    note.exists = true;
    if (!bytes) {
        note.unreadable = unreadableText(path, why, cause);
        return note;
    }
    note.page.assign(bytes->begin(), bytes->end());
    return note;
}

}  // namespace

fs::path NotePath(std::int32_t questionId) {
    return AppPaths::MyNotesFolder() / (std::to_string(questionId) + ".html");
}

bool HasNote(std::int32_t questionId) {
    return mod_Helper::FileExists(NotePath(questionId));
}

const std::string& DefaultNotePage() {
    static const std::string page =
        "<html>\r\n"
        "   <head>\r\n"
        "        <style>\r\n"
        "              p { text-indent: 0; margin-top: 0; margin-bottom: 0; }\r\n"
        "              ul { margin-top: 0; margin-bottom: 0; }\r\n"
        "        </style>\r\n"
        "  </head>\r\n"
        "  <body>\r\n"
        "  </body>\r\n"
        "</html>";
    return page;
}

std::string NoteFileText(std::string html) {
    // The file is Windows-1252: a declared character set (the editor declares utf-8) would
    // garble every other character on the way back.
    std::size_t at = 0;
    while (at < html.size()) {
        if (!startsWithNoCase(html, at, "<meta")) {
            ++at;
            continue;
        }
        const std::size_t end = html.find('>', at);
        if (end == std::string::npos) break;
        if (containsNoCase(std::string_view(html).substr(at, end - at), "charset")) {
            std::size_t stop = end + 1;
            while (stop < html.size() && (html[stop] == '\r' || html[stop] == '\n'))
                ++stop;
            html.erase(at, stop - at);
        } else {
            at = end + 1;
        }
    }
    return html + "\r\n";
}

std::string UnmarkedAsQtsOwn(std::string page) {
    constexpr std::string_view kMark = "<meta name=\"qrichtext\" content=\"1\" />";
    constexpr std::string_view kKeptSpaces = "p, li { white-space: pre-wrap; }";
    constexpr std::string_view kKeptSpacesWithHeadings =
        "p, li, h1, h2, h3, h4, h5, h6 { white-space: pre-wrap; }";
    const std::size_t head = std::min(page.find("</head>"), page.size());
    const std::size_t mark = page.rfind(kMark, head);
    if (mark == std::string::npos) return page;
    page.erase(mark, kMark.size());
    if (const std::size_t rule = page.find(kKeptSpaces); rule < head)
        page.replace(rule, kKeptSpaces.size(), kKeptSpacesWithHeadings);
    return page;
}

std::string PageOfFile(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return UnmarkedAsQtsOwn(std::move(text));
}

void LoadMyNotes(std::int32_t questionId, NoteDocument& editor) {
    std::error_code ignored;
    fs::create_directories(AppPaths::MyNotesFolder(), ignored);
    const NoteFile note = readNoteFile(NotePath(questionId));
    if (note.unreadable) {
        editor.ForgetNote();
        editor.ShowUnreadableNote(*note.unreadable);
        editor.unreadable_ = true;
        return;
    }
    const std::string page = PageOfFile(note.exists ? note.page : DefaultNotePage());
    // A page Qt would take minutes to show, or crash on, is not shown with its formatting; its
    // words stay within the user's reach.
    if (const auto refusal = editor.ShowNotePage(page)) {
        editor.ForgetNote();
        editor.ShowNoteText(page, *refusal);
        editor.unreadable_ = true;
        return;
    }
    editor.loadedId_ = questionId;
    editor.saved_ = false;
    editor.unreadable_ = false;
    editor.loadedEmpty_ = editor.IsNoteEmpty();
}

bool SaveMyNotes(std::int32_t questionId, NoteDocument& editor, Leaving leaving) {
    // Only the note this document was loaded for, and only once: a stale or repeated save
    // must never delete or overwrite a note the user did not touch.
    if (editor.loadedId_ != questionId || editor.saved_) return true;
    const fs::path path = NotePath(questionId);
    std::error_code cause;
    std::optional<std::string> refusal;
    bool kept = true;
    if (editor.IsNoteEmpty()) {
        // A note that showed nothing (a damaged file, text only in its head) was not emptied
        // by the user unless they edited it.
        const bool emptiedByUser = !editor.loadedEmpty_ || editor.IsEdited();
        if (emptiedByUser && mod_Helper::FileExists(path)) {
            fs::remove(path, cause);
            kept = !cause;
        }
    } else if (editor.CanUndo()) {
        // A note that would not be read back is not written over the one that would: the
        // very bytes go the road a load takes.
        const std::string text = NoteFileText(editor.NoteHtml());
        if (const auto tooLarge = page_judge::JudgeSize(text))
            refusal = page_refusals::Reason(*tooLarge, page_refusals::Subject::kSavedNote);
        // What no trial could be run for is written all the same: a missing or stalled child
        // must not cost the user what they typed.
        if (const auto judged = refusal ? std::nullopt : editor.JudgeNote(PageOfFile(text));
            judged && page_refusals::Tried(*judged))
            refusal = page_refusals::Reason(*judged, page_refusals::Subject::kSavedNote);
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        kept = !refusal && formats::WriteFileReplacing(path, bytes, nullptr, &cause);
    }
    if (!kept) {
        reportNotSaved(path, refusal ? *refusal : reasonText(cause), leaving);
        return false;
    }
    editor.saved_ = true;
    editor.EndEditing();
    return true;
}

}  // namespace mod_MyNotes

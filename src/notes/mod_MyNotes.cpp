#include "notes/mod_MyNotes.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string_view>
#include <system_error>

#include "core/AppPaths.h"
#include "core/mod_Helper.h"
#include "formats/FileIo.h"
#include "formats/Windows1252.h"
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

void reportNotSaved(const fs::path& path) {
    platform::MsgBox("The note could not be saved:\r\n\r\n" + formats::PathToWindows1252(path),
                     platform::kCritical);
}

void deleteNote(const fs::path& path) {
    if (!mod_Helper::FileExists(path)) return;
    std::error_code error;
    if (!fs::remove(path, error) || error) reportNotSaved(path);
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

void LoadMyNotes(std::int32_t questionId, NoteDocument& editor) {
    std::error_code ignored;
    fs::create_directories(AppPaths::MyNotesFolder(), ignored);
    const fs::path path = NotePath(questionId);
    std::string page = DefaultNotePage();
    if (mod_Helper::FileExists(path)) {
        if (const auto bytes = formats::ReadFileBytes(path))
            page.assign(bytes->begin(), bytes->end());
    }
    // The line end after the page would come back as a blank at the end of the text.
    while (!page.empty() && std::isspace(static_cast<unsigned char>(page.back())))
        page.pop_back();
    editor.ShowNotePage(page);
    editor.loadedId_ = questionId;
    editor.saved_ = false;
}

void SaveMyNotes(std::int32_t questionId, NoteDocument& editor) {
    // Only the note this document was loaded for, and only once: a stale or repeated save
    // must never delete or overwrite a note the user did not touch.
    if (editor.loadedId_ != questionId || editor.saved_) return;
    editor.saved_ = true;
    editor.EndEditing();
    const fs::path path = NotePath(questionId);
    if (editor.IsNoteEmpty()) {
        deleteNote(path);
        return;
    }
    if (!editor.CanUndo()) return;
    const std::string text = NoteFileText(editor.NoteHtml());
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!formats::WriteFileReplacing(path, bytes)) reportNotSaved(path);
}

}  // namespace mod_MyNotes

#include "browsers/mod_MyNotesTab.h"

#include <charconv>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "core/AppPaths.h"
#include "core/SystemVars.h"
#include "notes/mod_MyNotes.h"

namespace fs = std::filesystem;

namespace mod_MyNotesTab {

const browsers::BrowserTab& Tab() {
    static const browsers::BrowserTab tab{
        [](int element) -> const std::string& { return SystemVars.MyNotesTexts(element); },
        browsers::ChoiceLayout::kLabelInline, &BuildQuestionList, true, false};
    return tab;
}

std::filesystem::path NoteFile(std::int32_t questionId) {
    return mod_MyNotes::NotePath(questionId);
}

namespace {

// The questions whose note file is in the folder: one listing of the folder instead of one
// file test per bank question. A name counts only when it is exactly the note path of its id.
std::unordered_set<std::int32_t> notedIds() {
    std::unordered_set<std::int32_t> ids;
    std::error_code error;
    for (fs::directory_iterator entry(AppPaths::MyNotesFolder(), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::int32_t id = 0;
        const auto [stop, failure] = std::from_chars(name.data(), name.data() + name.size(), id);
        if (failure != std::errc() || std::string_view(stop) != ".html") continue;
        std::error_code kind;
        if (entry->is_regular_file(kind) && NoteFile(id).filename() == name) ids.insert(id);
    }
    return ids;
}

}  // namespace

std::vector<std::int32_t> BuildQuestionList() {
    return browsers::BankIdsAmong(notedIds());
}

}  // namespace mod_MyNotesTab

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "browsers/BrowserView.h"
#include "browsers/NoteSlot.h"
#include "browsers/QuestionRenderer.h"
#include "core/FullViewRequest.h"
#include "core/QuestionBank.h"

namespace browsers {

// What sets one question view apart from the others.
struct BrowserTab {
    const std::string& (*Text)(int element) = nullptr;  // the view's texts member
    ChoiceLayout Layout = ChoiceLayout::kLabelInParentheses;
    // Builds the view's list of question ids; null for the full view, whose opener hands it
    // the list.
    std::vector<std::int32_t> (*BuildList)() = nullptr;
    bool RebuildOnRefresh = false;
    bool IsFullView = false;  // header line, no list page
};

// The rules of a question view: its list, the shown position, rendering, navigation, the
// bookmark box and the order of note loads and saves. The three browser tabs and the full
// view each own one. The list holds ids: each question is read from the bank when shown, so
// a bank replaced meanwhile shows its own question of the id, or none.
class QuestionBrowser {
public:
    QuestionBrowser(const BrowserTab& tab, BrowserView& view);

    // Not owned; the view's notes editor.
    void SetNoteSlot(NoteSlot& notes) { notes_ = &notes; }

    // Sets the view up on its first call, shows the question at the position and refills
    // the list page. With showId, the position becomes that question's (the first when it
    // is gone). False when the list is empty: the view then shows no question.
    bool RefreshTab(std::optional<std::int32_t> showId = std::nullopt);
    // Renders the question at the position into the view, then loads its note and
    // bookmark; nothing but the buttons when the position is outside the list.
    void DisplayQuestion();
    // The bookmark box's click: its state becomes the shown question's bookmark.
    void SaveBookmarkFlag(bool ticked);

    // The view's events. A move is held (false) when the note of the question left cannot
    // be saved: the view stays on it with what the user typed.
    [[nodiscard]] bool SaveNote(mod_MyNotes::Leaving leaving = mod_MyNotes::Leaving::kCanStay);
    void Previous();
    void Next();
    void Jump(int number);  // a 1-based number of the jump list
    void AnswersClicked(bool ticked);
    // A row of the list page, by its number; false when the list is empty now.
    bool ListDoubleClicked(int rowNumber);
    // Saves the note; an empty list, or a note that could not be saved, opens nothing.
    std::optional<FullViewRequest> OpenFullView();
    // Back from the full view on this tab; false when the tab has nothing left to show.
    bool ReturnFromFullView(const FullViewResult& result);

    // The full view's own start.
    void OpenWith(FullViewRequest request);
    // Nothing while the shown note cannot be saved: the view stays open.
    [[nodiscard]] std::optional<FullViewResult> Close();

    [[nodiscard]] const std::vector<std::int32_t>& List() const { return list_; }
    // The list page's row of a list position, its texts from the bank as it is now.
    [[nodiscard]] BrowserRow ListRow(std::size_t index) const;
    [[nodiscard]] std::optional<int> Position() const { return position_; }
    [[nodiscard]] bool ShowAnswers() const { return showAnswers_; }
    void SetShowAnswers(bool ticked);

private:
    void SetUp();
    void BuildQuestionList();
    void FillListView();
    void LoadBookmarkFlag();
    void LoadQuestionNote();
    [[nodiscard]] bool SaveQuestionNote(int index, mod_MyNotes::Leaving leaving);
    void Show(bool loadNote);
    void ShowNothing();
    [[nodiscard]] const QuestionRecord* Shown() const;
    [[nodiscard]] bool Holds(int index) const;
    [[nodiscard]] bool MoveTo(int position);

    const BrowserTab& tab_;
    BrowserView& view_;
    NoNotes noNotes_;
    NoteSlot* notes_ = &noNotes_;
    std::vector<std::int32_t> list_;
    std::optional<int> position_;  // the shown question; none until one is shown
    bool setUp_ = false;
    bool showAnswers_ = false;
    bool showStatistics_ = false;
};

// The statistics record of a question: the first with its id.
QuestionStats* FindQuestionStats(std::int32_t questionId);

// The ids of the bank's questions that are among `ids`, in bank order.
std::vector<std::int32_t> BankIdsAmong(const std::unordered_set<std::int32_t>& ids);

}  // namespace browsers

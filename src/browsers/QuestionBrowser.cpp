#include "browsers/QuestionBrowser.h"

#include <algorithm>
#include <utility>

#include "core/SystemVars.h"
#include "exam/QuestionLookup.h"

namespace browsers {

QuestionStats* FindQuestionStats(std::int32_t questionId) {
    const auto found =
        std::find_if(QuestionStatsTable.begin(), QuestionStatsTable.end(),
                     [questionId](const QuestionStats& s) { return s.QuestionID == questionId; });
    return found != QuestionStatsTable.end() ? &*found : nullptr;
}

std::vector<std::int32_t> BankIdsAmong(const std::unordered_set<std::int32_t>& ids) {
    std::vector<std::int32_t> found;
    for (const QuestionRecord& q : QuestionBank)
        if (ids.contains(q.QuestionID)) found.push_back(q.QuestionID);
    return found;
}

QuestionBrowser::QuestionBrowser(const BrowserTab& tab, BrowserView& view)
    : tab_(tab), view_(view) {}

void QuestionBrowser::SetUp() {
    setUp_ = true;
    const auto text = tab_.Text;
    view_.SetCaptions(
        {text(browser_text::kTitle), text(browser_text::kQuestionPage),
         text(browser_text::kListPage), text(browser_text::kNotes), text(browser_text::kGoTo),
         text(browser_text::kPrevious), text(browser_text::kNext), text(browser_text::kShowAnswers),
         text(browser_text::kBookmark), text(browser_text::kFullView), text(browser_text::kClose)});
}

bool QuestionBrowser::RefreshTab(std::optional<std::int32_t> showId) {
    const bool firstVisit = !setUp_;
    if (firstVisit) SetUp();
    const bool rebuilt = firstVisit || tab_.RebuildOnRefresh;
    if (rebuilt) BuildQuestionList();
    if (showId) {
        const auto found = std::find(list_.begin(), list_.end(), *showId);
        position_ = found != list_.end() ? static_cast<int>(found - list_.begin()) : 0;
    }
    if (list_.empty()) {
        ShowNothing();
    } else {
        if (!position_ || !Holds(*position_)) position_ = 0;
        DisplayQuestion();
    }
    if (rebuilt) FillListView();
    return !list_.empty();
}

void QuestionBrowser::BuildQuestionList() {
    if (tab_.BuildList) list_ = tab_.BuildList();
    view_.FillJumpList(static_cast<int>(list_.size()));
}

void QuestionBrowser::FillListView() {
    if (tab_.IsFullView) return;
    const auto& headers = SystemVars.BrowserListTexts;
    view_.FillList({"", headers(0), headers(1), headers(2), headers(3)}, list_.size());
}

BrowserRow QuestionBrowser::ListRow(std::size_t index) const {
    BrowserRow row;
    if (index >= list_.size()) return row;
    row.QuestionId = list_[index];
    row.Number = std::to_string(index + 1);
    if (const QuestionRecord* q = exam::FindQuestion(row.QuestionId)) {
        row.Exam = SystemVars.GroupNames(q->GroupCode);
        row.Level = SystemVars.LevelNames(q->Level);
    }
    return row;
}

void QuestionBrowser::DisplayQuestion() {
    Show(true);
}

void QuestionBrowser::Show(bool loadNote) {
    const int count = static_cast<int>(list_.size());
    const int n = position_.value_or(0);
    if (!tab_.IsFullView)
        view_.SetPageCaption(PositionCaption(tab_.Text(browser_text::kQuestionPage), n, count));
    view_.SetStepButtons(n > 0, n < count - 1);
    const QuestionRecord* shown = Shown();
    if (!shown) {
        view_.ShowNoQuestion();
        return;
    }

    RenderOptions options;
    options.Layout = tab_.Layout;
    options.ShowAnswers = showAnswers_;
    options.AnswerHeading = tab_.Text(browser_text::kExplanation);
    if (tab_.IsFullView) {
        options.HeaderLine = tab_.Text(browser_text::kQuestion) + " " + std::to_string(n + 1) +
                             tab_.Text(browser_text::kOf) + std::to_string(count);
        if (showStatistics_)
            if (const QuestionStats* stats = FindQuestionStats(shown->QuestionID))
                options.Statistics = *stats;
    }
    view_.ShowQuestion(RenderQuestion(*shown, options));
    if (loadNote) LoadQuestionNote();
    LoadBookmarkFlag();
}

void QuestionBrowser::ShowNothing() {
    position_.reset();
    view_.SetStepButtons(false, false);
    view_.ShowNoQuestion();
}

const QuestionRecord* QuestionBrowser::Shown() const {
    return position_ && Holds(*position_)
               ? exam::FindQuestion(list_[static_cast<std::size_t>(*position_)])
               : nullptr;
}

bool QuestionBrowser::Holds(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < list_.size();
}

void QuestionBrowser::LoadBookmarkFlag() {
    const QuestionRecord* shown = Shown();
    if (!shown) return;
    if (const QuestionStats* stats = FindQuestionStats(shown->QuestionID))
        view_.SetBookmarkBox(stats->Bookmarked);
}

void QuestionBrowser::SaveBookmarkFlag(bool ticked) {
    const QuestionRecord* shown = Shown();
    if (!shown) return;
    if (QuestionStats* stats = FindQuestionStats(shown->QuestionID)) stats->Bookmarked = ticked;
}

void QuestionBrowser::LoadQuestionNote() {
    if (const QuestionRecord* shown = Shown()) notes_->Load(shown->QuestionID);
}

bool QuestionBrowser::SaveQuestionNote(int index, mod_MyNotes::Leaving leaving) {
    return !Holds(index) || notes_->Save(list_[static_cast<std::size_t>(index)], leaving);
}

bool QuestionBrowser::SaveNote(mod_MyNotes::Leaving leaving) {
    return !position_ || SaveQuestionNote(*position_, leaving);
}

bool QuestionBrowser::MoveTo(int position) {
    if (!SaveNote()) return false;
    if (Holds(position)) position_ = position;
    return true;
}

void QuestionBrowser::Previous() {
    if (!MoveTo(position_.value_or(0) - 1)) return;
    view_.ClearJumpText();
    DisplayQuestion();
}

void QuestionBrowser::Next() {
    if (!MoveTo(position_.value_or(0) + 1)) return;
    view_.ClearJumpText();
    DisplayQuestion();
}

void QuestionBrowser::Jump(int number) {
    if (!MoveTo(number - 1)) {
        view_.ClearJumpText();
        return;
    }
    DisplayQuestion();
}

// The same question again: its note stays as the user left it.
void QuestionBrowser::AnswersClicked(bool ticked) {
    showAnswers_ = ticked;
    Show(false);
}

void QuestionBrowser::SetShowAnswers(bool ticked) {
    showAnswers_ = ticked;
    view_.SetAnswersBox(ticked);
}

// The row is resolved to its question before the list is rebuilt, so a list that changed
// since it was filled still shows the question that was clicked.
bool QuestionBrowser::ListDoubleClicked(int rowNumber) {
    view_.ShowQuestionPage();
    if (rowNumber == 0) return !list_.empty();
    // The note of the question left is kept before any other is shown.
    if (!SaveNote()) return true;
    if (!Holds(rowNumber - 1)) return RefreshTab();
    const std::int32_t id = list_[static_cast<std::size_t>(rowNumber - 1)];
    return RefreshTab(id);
}

std::optional<FullViewRequest> QuestionBrowser::OpenFullView() {
    if (!SaveNote() || list_.empty()) return std::nullopt;
    return FullViewRequest{list_, position_.value_or(0), showAnswers_, false};
}

bool QuestionBrowser::ReturnFromFullView(const FullViewResult& result) {
    if (!tab_.RebuildOnRefresh && Holds(result.Position)) position_ = result.Position;
    SetShowAnswers(result.ShowAnswers);
    return RefreshTab();
}

void QuestionBrowser::OpenWith(FullViewRequest request) {
    list_ = std::move(request.List);
    showStatistics_ = request.ShowStatistics;
    SetShowAnswers(request.ShowAnswers);
    position_ = Holds(request.Start) ? request.Start : 0;
    SetUp();
    BuildQuestionList();
    if (list_.empty()) {
        ShowNothing();
        return;
    }
    DisplayQuestion();
}

std::optional<FullViewResult> QuestionBrowser::Close() {
    if (!SaveNote()) return std::nullopt;
    const FullViewResult result{position_.value_or(0), showAnswers_};
    list_.clear();
    position_.reset();
    return result;
}

}  // namespace browsers

// The exam window's status counts, status lists and results list.
#include <QHeaderView>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <functional>

#include "core/ListView.h"
#include "core/OwnIcons.h"
#include "core/PictureButton.h"
#include "core/QuestionRowTip.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_ListViewSort.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/QuestionLookup.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "exam/mod_MyCurrentExam.h"
#include "platform/TextCodec.h"

namespace {

const QColor kLinkBlue(0, 0, 192);
const QColor kLinkRed(255, 0, 0);

void setLinkLook(QLabel* link, const QColor& colour, bool bold, bool underline) {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, colour);
    link->setPalette(palette);
    QFont font = link->font();
    font.setBold(bold);
    font.setUnderline(underline);
    link->setFont(font);
}

// The first two columns fit their texts; the last takes the rest of the list's width.
void fitColumns(ListView& list, bool firstWithHeader) {
    list.autoSizeColumn(0, firstWithHeader);
    list.autoSizeColumn(1, true);
    list.header()->setSectionResizeMode(2, QHeaderView::Stretch);
}

// The results list's icon of a question: 1 unanswered, 2 correct, 3 wrong.
int resultIcon(const QuestionState& state, const QuestionRecord& question) {
    if (!state.GivenAnswers) return 1;
    return mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers, question.QuestionType)
               ? 2
               : 3;
}

// The exam position of a list row (its text is the position + 1); -1 for none.
int rowPosition(const ListView& list, int row) {
    return row < 0 ? -1 : list.rowNumber(row) - 1;
}

const QuestionState* stateAt(int position) {
    if (position < 0 || position >= exam::CurrentExamSession.QuestionCount()) return nullptr;
    return &(*CurrentExam.Questions)[static_cast<std::size_t>(position)];
}

constexpr int kObjectiveColumn = 1;
constexpr int kQuestionColumn = 2;

// The question columns read the bank instead of holding copies of its texts.
void showQuestionTexts(ListView& list) {
    list.setTextSource(
        {kObjectiveColumn, kQuestionColumn}, [](std::int32_t id, int column) -> std::string_view {
            const QuestionRecord* question = exam::FindQuestion(id);
            if (!question) return {};
            return column == kObjectiveColumn ? question->Topic : question->QuestionText;
        });
}

// One row per exam question found in the bank (its number, objective and text), added when
// `complete` accepts it after setting the row's check mark or icon.
void addQuestionRows(
    ListView& list,
    const std::function<bool(const QuestionState&, const QuestionRecord&, ListRow&)>& complete) {
    exam::QuestionLookup lookup;
    ListRowBatch batch(list);
    for (int i = 0; i < exam::CurrentExamSession.QuestionCount(); ++i) {
        const QuestionState& state = *stateAt(i);
        const QuestionRecord* question = lookup.Question(state.QuestionID);
        if (!question) continue;
        ListRow row{.Texts = {std::to_string(i + 1), {}, {}},
                    .Key = "a" + std::to_string(i),
                    .Checked = false,
                    .Icon = {},
                    .Source = state.QuestionID};
        if (complete(state, *question, row)) batch.add(row);
    }
}

}  // namespace

void frm_Exam::SetStatusLinkLook(QLabel* link, bool over) {
    setLinkLook(link, over ? kLinkRed : kLinkBlue, over, false);
}

void frm_Exam::setBackLinkLook(QLabel* link, bool over) {
    setLinkLook(link, over ? kLinkBlue : kLinkRed, false, over);
}

void frm_Exam::lbl_question_status_Click(int index) {
    if (HoverDelayCount < 1) return;
    OpenStatusList(index);
}

void frm_Exam::lbl_question_back_Click(int) {
    mod_MyCurrentExam::ReturnToQuestion();
}

void frm_Exam::OpenStatusList(int tab) {
    if (SSTab1->currentIndex() != tab) SSTab1->setCurrentIndex(tab);
    Choices_Frame->hide();
    StatusList_Frame->show();
    SSTab1->setEnabled(true);
    SSTab1->show();
    ListView1->setEnabled(true);
    ListView1->show();
    for (QLabel* link : lbl_question_back) {
        link->setText(platform::toQt(SystemVars.ExamTexts(exam_text::kBackToQuestion)));
        setBackLinkLook(link, false);
    }
    FillStatusList(tab);
}

void frm_Exam::SSTab1_Click() {
    if (ListView1->isHidden()) return;
    mod_ListViewSort::ResetListViewSort(*ListView1);
    FillStatusList(SSTab1->currentIndex());
}

void frm_Exam::FillStatusList(int tab) {
    ListView1->clearColumns();
    for (int k = 0; k < 3; ++k)
        ListView1->addColumn(SystemVars.ReviewListTexts(k));
    showQuestionTexts(*ListView1);
    ListView1->clear();
    {
        const QScopedValueRollback updating(UpdatingChoices, true);
        addQuestionRows(
            *ListView1, [tab](const QuestionState& state, const QuestionRecord&, ListRow& row) {
                const bool answered = state.GivenAnswers.has_value();
                row.Checked = state.Marked;
                return (tab == kAnsweredTab && answered) || (tab == kUnansweredTab && !answered) ||
                       (tab == kMarkedTab && state.Marked);
            });
    }
    fitColumns(*ListView1, true);
}

void frm_Exam::ListView1_ItemCheck(int row) {
    if (UpdatingChoices || row < 0) return;
    const bool checked = ListView1->isChecked(row);
    if (!exam::CurrentExamSession.SetMarked(static_cast<std::int16_t>(rowPosition(*ListView1, row)),
                                            checked)) {
        // A graded exam keeps its marks.
        const QScopedValueRollback updating(UpdatingChoices, true);
        ListView1->setChecked(row, !checked);
    }
    mod_MyCurrentExam::RefreshStatusCounts();
}

void frm_Exam::ListView1_DblClick() {
    const int position = rowPosition(*ListView1, ListView1->currentRow());
    if (!stateAt(position)) return;
    CurrentQuestionIndex = static_cast<std::int16_t>(position);
    mod_MyCurrentExam::ReturnToQuestion();
}

void frm_Exam::ListView2_DblClick() {
    const int position = rowPosition(*ListView2, ListView2->currentRow());
    if (!stateAt(position)) return;
    SSTab2->setCurrentIndex(kQuestionTab);
    mod_MyCurrentExam::ShowQuestion(static_cast<std::int16_t>(position));
}

void frm_Exam::SSTab2_Click() {
    if (SSTab2->currentIndex() == kResultsTab) mod_MyCurrentExam::FillQuestionList();
}

void frm_Exam::ListView_MouseMove(ListView* list, const QPoint& position) {
    const int row = list->rowAt(position);
    if (row < 0) return;
    const int shownPosition = rowPosition(*list, row);
    if (shownPosition + 1 == toolTipItem_) return;
    toolTipItem_ = shownPosition + 1;
    const QuestionState* state = stateAt(shownPosition);
    exam::QuestionLookup lookup;
    ShowQuestionRowTip(toolTip_, list, state ? lookup.Question(state->QuestionID) : nullptr);
}

namespace mod_MyCurrentExam {

void ReturnToQuestion() {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    window->button_review->showLook(PictureButton::Look::Normal);
    window->HoverDelayCount = 0;
    window->Timer2->start();
    window->PicFrame[2]->setFocus();
    window->ListView1->hide();
    window->ListView1->clear();
    window->ListView1->clearColumns();
    mod_ListViewSort::ResetListViewSort(*window->ListView1);
    window->SSTab1->hide();
    window->StatusList_Frame->hide();
    window->Choices_Frame->show();
    for (QLabel* link : window->lbl_question_status)
        window->SetStatusLinkLook(link, false);
    ShowQuestion(CurrentQuestionIndex);
}

void RefreshStatusCounts() {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    const exam::StatusCounts counts = exam::CurrentExamSession.Counts();
    const int values[3] = {counts.answered, counts.unanswered, counts.marked};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string number = std::to_string(values[k]);
        window->lbl_question_status[k]->setText(
            platform::toQt(SystemVars.StatusTexts(static_cast<int>(k)) + number));
        window->lbl_question_total[k]->setText(
            platform::toQt(SystemVars.StatusTexts(status_text::kQuestions) + number));
    }
}

void FillQuestionList() {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    for (int k = 0; k < 4; ++k)
        window->lbl_Legend[static_cast<std::size_t>(k)]->setText(
            platform::toQt(SystemVars.ResultTexts(k)));
    ListView& list = *window->ListView2;
    mod_ListViewSort::ResetListViewSort(list);
    list.clearColumns();
    list.addColumn("", 48);
    list.addColumn(SystemVars.QuestionListTexts(question_list_text::kObjectiveColumn));
    list.addColumn(SystemVars.QuestionListTexts(question_list_text::kQuestionColumn));
    showQuestionTexts(list);
    list.clear();
    addQuestionRows(list,
                    [](const QuestionState& state, const QuestionRecord& question, ListRow& row) {
                        row.Icon = OwnIcons::resultIcon(resultIcon(state, question));
                        return true;
                    });
    fitColumns(list, false);
}

void UpdateQuestionListRow(int position) {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    ListView& list = *window->ListView2;
    const QuestionState* state = stateAt(position);
    exam::QuestionLookup lookup;
    const QuestionRecord* question = state ? lookup.Question(state->QuestionID) : nullptr;
    bool sortedByUser = false;
    for (int column = 0; column < list.columnCount(); ++column)
        sortedByUser = sortedByUser || list.headerImage(column) >= 0;
    if (!question || sortedByUser) {
        FillQuestionList();
        return;
    }
    // Rows follow the exam order, skipping questions missing from the bank: the row sits at
    // the position or before it.
    const int row = list.findKeyUpwards("a" + std::to_string(position), position);
    if (row < 0) {
        FillQuestionList();
        return;
    }
    list.setRowIcon(row, OwnIcons::resultIcon(resultIcon(*state, *question)));
}

}  // namespace mod_MyCurrentExam

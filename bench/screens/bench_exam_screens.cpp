#include <QTabWidget>

#include <cstddef>
#include <string>
#include <vector>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "core/ListView.h"
#include "core/QuestionBank.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/frm_Evaluate.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "exam/mod_MyCurrentExam.h"
#include "platform/mod_Forms.h"

namespace {

using screenbench::Budget;
using screenbench::Settle;

// The largest exam the stored form holds.
constexpr int kExamLimit = 32767;

void answerEveryOther() {
    for (std::size_t k = 0; k < CurrentExam.Questions->size(); k += 2)
        (*CurrentExam.Questions)[k].GivenAnswers = std::vector<std::string>{k % 4 ? "B" : "A"};
}

void closeExam() {
    if (frm_Evaluate* evaluation = evaluation::EvaluationWindow()) mod_Forms::Unload(evaluation);
    exam::UnloadExamWindow();
    Settle();
    benchbank::ReleaseBank();
}

// An exam of the whole bank opened and shown, half of it answered.
frm_Exam* openWholeBankExam(benchmark::State& state, std::size_t questions) {
    if (!screenbench::Ready(state)) return nullptr;
    benchbank::InstallBank(questions);
    benchbank::PrepareWholeBankExam(true);
    frm_Exam* window = exam::LoadExamWindow(exam::ExamOpening::kNew);
    if (!window) {
        state.SkipWithError("the exam window did not open");
        return nullptr;
    }
    answerEveryOther();
    Settle();
    return window;
}

// A Start button: the question list built, the exam window loaded and shown.
void BM_ExamStart(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::InstallBank(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchbank::PrepareWholeBankExam(false);
        exam::LoadExamWindow(exam::ExamOpening::kNew);
        Settle();
        state.PauseTiming();
        exam::UnloadExamWindow();
        Settle();
        state.ResumeTiming();
    }
    Budget(state, 50, 20000);
    closeExam();
}
BENCHMARK(BM_ExamStart)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(kExamLimit)
    ->Unit(benchmark::kMillisecond);

// The results tab's list filled for the whole exam.
void BM_ResultsList(benchmark::State& state) {
    frm_Exam* window = openWholeBankExam(state, static_cast<std::size_t>(state.range(0)));
    if (!window) return;
    window->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    Settle();
    for (auto _ : state) {
        mod_MyCurrentExam::FillQuestionList();
        Settle();
    }
    Budget(state, 50, 20000);
    closeExam();
}
BENCHMARK(BM_ResultsList)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(kExamLimit)
    ->Unit(benchmark::kMillisecond);

// A click on a choice's label while the results list is shown.
void BM_RecordAnswerWithResultsList20000(benchmark::State& state) {
    frm_Exam* window = openWholeBankExam(state, benchbank::kQuestions);
    if (!window) return;
    window->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    Settle();
    int choice = 0;
    for (auto _ : state) {
        window->Label_Click(choice);
        Settle();
        choice = 1 - choice;
    }
    state.counters["budget_ms"] = 10;
    closeExam();
}
BENCHMARK(BM_RecordAnswerWithResultsList20000)->Unit(benchmark::kMillisecond);

// The status list of the 10,000 answered questions of a 20,000-question exam.
void BM_StatusList20000(benchmark::State& state) {
    frm_Exam* window = openWholeBankExam(state, benchbank::kQuestions);
    if (!window) return;
    for (auto _ : state) {
        window->OpenStatusList(0);
        Settle();
    }
    state.counters["rows"] = window->ListView1->rowCount();
    state.counters["budget_ms"] = 50;
    closeExam();
}
BENCHMARK(BM_StatusList20000)->Unit(benchmark::kMillisecond);

frm_Evaluate* openEvaluation(benchmark::State& state) {
    if (!openWholeBankExam(state, static_cast<std::size_t>(state.range(0)))) return nullptr;
    mod_Exam::GradeExam();
    frm_Evaluate* window = evaluation::LoadEvaluationWindow();
    Settle();
    return window;
}

// The evaluation window's question list and objectives tab, each on its first visit.
void BM_EvaluationQuestionList(benchmark::State& state) {
    frm_Evaluate* window = openEvaluation(state);
    if (!window) return;
    for (auto _ : state) {
        state.PauseTiming();
        window->SSTab1->setCurrentIndex(frm_Evaluate::kSummaryTab);
        window->QuestionTabBuilt = false;
        Settle();
        state.ResumeTiming();
        window->SSTab1->setCurrentIndex(frm_Evaluate::kQuestionTab);
        Settle();
    }
    Budget(state, 50, 20000);
    closeExam();
}
BENCHMARK(BM_EvaluationQuestionList)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(kExamLimit)
    ->Unit(benchmark::kMillisecond);

void BM_EvaluationObjectivesTab(benchmark::State& state) {
    frm_Evaluate* window = openEvaluation(state);
    if (!window) return;
    for (auto _ : state) {
        state.PauseTiming();
        window->SSTab1->setCurrentIndex(frm_Evaluate::kSummaryTab);
        window->ObjectiveTabBuilt = false;
        Settle();
        state.ResumeTiming();
        window->SSTab1->setCurrentIndex(frm_Evaluate::kObjectiveTab);
        Settle();
    }
    Budget(state, 50, 20000);
    closeExam();
}
BENCHMARK(BM_EvaluationObjectivesTab)
    ->ArgName("questions")
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(kExamLimit)
    ->Unit(benchmark::kMillisecond);

}  // namespace

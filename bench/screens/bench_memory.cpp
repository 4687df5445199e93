#include <malloc.h>

#include <QTabWidget>

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "browsers/QuestionBrowserPage.h"
#include "core/QuestionBank.h"
#include "evaluation/EvaluationWindow.h"
#include "evaluation/frm_Evaluate.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "mainscreen/frm_Customize.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "platform/mod_Forms.h"

namespace {

using screenbench::Settle;

std::int64_t statusKilobytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(field)) return std::stoll(line.substr(field.size()));
    return -1;
}

// The bytes of the bank as decoded: every text of every question and every picture.
double decodedBankBytes() {
    std::size_t bytes = 0;
    for (const QuestionRecord& q : QuestionBank)
        bytes += q.Topic.size() + q.QuestionText.size() + q.Explanation.size() + q.Field8.size() +
                 q.PictureName.size() + q.Choices.size();
    for (const AttachedFile& picture : QuestionPictures)
        bytes += picture.Name.size() + picture.Bytes.size();
    return static_cast<double>(bytes);
}

// Every screen of the other benchmarks in turn, over one bank.
void useEveryScreen() {
    auto board = std::make_unique<frm_SwitchBoard>();
    board->resize(1016, 690);
    board->show();
    for (const int tab : {2, 3, 4, 5, 6, 0}) {
        board->SSTab1->setCurrentIndex(tab);
        Settle();
        if (tab == frm_SwitchBoard::kViewAllTab) {
            board->SSTab3->setCurrentIndex(QuestionBrowserPage::kListPage);
            Settle();
        }
    }
    auto* dialog = new frm_Customize(nullptr, "41", CustomizeOrigin::kExamKind);
    dialog->Form_Load();
    dialog->show();
    Settle();
    mod_Forms::Unload(dialog);
    Settle();

    benchbank::PrepareWholeBankExam(true);
    frm_Exam* exam = exam::LoadExamWindow(exam::ExamOpening::kNew);
    if (!exam) return;
    for (std::size_t k = 0; k < CurrentExam.Questions->size(); k += 2)
        (*CurrentExam.Questions)[k].GivenAnswers = std::vector<std::string>{"A"};
    exam->OpenStatusList(0);
    exam->SSTab2->setCurrentIndex(frm_Exam::kResultsTab);
    exam->Label_Click(1);
    Settle();
    mod_Exam::GradeExam();
    if (frm_Evaluate* evaluation = evaluation::LoadEvaluationWindow()) {
        for (const int tab : {1, 2}) {
            evaluation->SSTab1->setCurrentIndex(tab);
            Settle();
        }
        mod_Forms::Unload(evaluation);
    }
    exam::UnloadExamWindow();
    Settle();
}

// Peak resident growth while every screen is used once, against the decoded bank. The peak
// is reset first (writing 5 to /proc/self/clear_refs), so earlier benchmarks do not count.
// Every screen is used once on a small bank before: the program code paged in and Qt's
// one-time set-up (fonts, styles) are no part of what the bank costs.
void BM_PeakMemory20000(benchmark::State& state) {
    if (!screenbench::Ready(state)) return;
    benchbank::WriteSaves(benchbank::kSaves);
    benchbank::WriteHistory(benchbank::kHistoryRecords);
    benchbank::InstallBank(100);
    useEveryScreen();
    for (auto _ : state) {
        QuestionBank.clear();
        QuestionBank.shrink_to_fit();
        QuestionPictures.clear();
        QuestionPictures.shrink_to_fit();
        malloc_trim(0);
        std::ofstream reset("/proc/self/clear_refs");
        if (!(reset << "5" << std::flush)) {
            state.SkipWithError("cannot reset the peak resident size (clear_refs)");
            return;
        }
        const std::int64_t before = statusKilobytes("VmRSS:");
        benchbank::InstallBank(benchbank::kQuestions);
        useEveryScreen();
        const std::int64_t peak = statusKilobytes("VmHWM:");
        const double decoded = decodedBankBytes();
        const double growth = static_cast<double>(peak - before) * 1024;
        using benchmark::Counter;
        state.counters["decoded"] = Counter(decoded, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_growth"] = Counter(growth, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_x_decoded"] = growth / decoded;
        state.counters["budget_x"] = 3;
    }
    benchbank::ReleaseBank();
}
BENCHMARK(BM_PeakMemory20000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

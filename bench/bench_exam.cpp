#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <string>

#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "exam/CurrentExam.h"
#include "exam/mod_Exam.h"

namespace {

// An exhaustive exam over a bank of `size` single-answer questions, every other one
// answered right, keys built; statistics and signed files in a scratch program folder.
class ExhaustiveExam {
public:
    explicit ExhaustiveExam(std::int32_t size)
        : folder_(std::filesystem::temp_directory_path() /
                  ("examsim_bench_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_ / "Data");
        AppPaths::SetProgramFolder(folder_);
        SystemVars.ProductCode = "BENCH";
        DataKey = "ben-chmk";
        QuestionBank.clear();
        QuestionStatsTable.clear();
        for (std::int32_t id = 1; id <= size; ++id) {
            QuestionRecord q;
            q.QuestionID = id * 7;
            q.GroupCode = 41;
            q.Topic = "Objective " + std::to_string(id % 40);
            q.Level = static_cast<std::int16_t>(1 + id % 3);
            q.QuestionType = kSingleAnswerType;
            q.Choices = "1<f><f>A<f>right<c>0<f><f>B<f>wrong<c>0<f><f>C<f>also wrong";
            QuestionBank.push_back(q);
            QuestionStats s;
            s.QuestionID = q.QuestionID;
            QuestionStatsTable.push_back(s);
        }
        CurrentExam = BlankExam;
        CurrentExam.Groups = std::vector<std::int16_t>{41};
        mod_Exam::BuildExamQuestions();
        mod_Exam::BuildAnswerKey();
        for (std::size_t k = 0; k < CurrentExam.Questions->size(); ++k)
            (*CurrentExam.Questions)[k].GivenAnswers = std::vector<std::string>{k % 2 ? "B" : "A"};
    }
    ~ExhaustiveExam() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    ExhaustiveExam(const ExhaustiveExam&) = delete;
    ExhaustiveExam& operator=(const ExhaustiveExam&) = delete;

private:
    std::filesystem::path folder_;
};

// Grading after the exam ended: results, statistics counted, Data/Resource.dat rewritten.
double secondsToGrade(std::int32_t size) {
    const ExhaustiveExam exam(size);
    const auto start = std::chrono::steady_clock::now();
    mod_Exam::GradeExam();
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(CurrentExam.Correct);
    return std::chrono::duration<double>(stop - start).count();
}

// Both sizes in one run, so that their ratio shows how grading scales (linear: about 10).
void BM_GradeExhaustiveExam2000And20000(benchmark::State& state) {
    double small = 0;
    double large = 0;
    for (auto _ : state) {
        small += secondsToGrade(2000);
        large += secondsToGrade(20000);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["ms_2000"] = small / runs * 1e3;
    state.counters["ms_20000"] = large / runs * 1e3;
    state.counters["ratio"] = large / small;
}
BENCHMARK(BM_GradeExhaustiveExam2000And20000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BuildExhaustiveExam(benchmark::State& state) {
    const ExhaustiveExam exam(static_cast<std::int32_t>(state.range(0)));
    CurrentExam.Randomize = state.range(1) != 0;
    for (auto _ : state) {
        mod_Exam::BuildExamQuestions();
        benchmark::DoNotOptimize(CurrentExam.Questions->data());
    }
    mod_Exam::SetRandomDraw({});
}
BENCHMARK(BM_BuildExhaustiveExam)
    ->ArgsProduct({{2000, 20000}, {0, 1}})
    ->ArgNames({"questions", "random"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

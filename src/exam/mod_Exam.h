#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The exam engine: building the question list, answer keys, answer checking, grading,
// the per-question statistics and the file side of saved exams. Works on CurrentExam,
// QuestionBank and QuestionStatsTable; id lookups take the first match.
namespace mod_Exam {

// A draw in [0, 1) for the random order.
using RandomDraw = std::function<float()>;
// Replaces the random order's draws (tests); an empty draw restores the generator
// seeded from the clock.
void SetRandomDraw(RandomDraw draw);

// CurrentExam.Questions from the bank questions of CurrentExam.Groups, in bank or random
// order; the lone id-0 placeholder when none qualifies.
void BuildExamQuestions();
// As above, taking per objective and level at most the quotas of CurrentExam.Objectives,
// then (smart mode) only questions whose past results pass the filters.
void BuildCustomExamQuestions();

// Sorted distinct objectives of the groups' questions; one empty text when there is none.
std::vector<std::string> GetObjectiveList(const std::vector<std::string>& groups);
std::int16_t CountObjectiveQuestions(const std::vector<std::string>& groups,
                                     std::string_view objective, std::int16_t level);
// The same for every objective of the list and levels 1 to 3, in one pass over the bank.
std::vector<std::array<std::int16_t, 3>> CountObjectiveQuestionsPerLevel(
    const std::vector<std::string>& groups, const std::vector<std::string>& objectives);
// groupList: codes separated by "," (each code compared untrimmed).
std::int16_t CountGroupQuestions(std::string_view groupList, std::int16_t level);

using TextList = std::optional<std::vector<std::string>>;

// Fills the answer key of every question from its bank choices.
void BuildAnswerKey();
// answerType 1, 2 or 6; a missing key or answer, or any other type, is never correct.
[[nodiscard]] bool IsAnswerCorrect(const TextList& key, const TextList& given,
                                   std::int16_t answerType);

// Sets the result fields of CurrentExam. Outside a running exam it also counts every
// question in the statistics and rewrites Data/Resource.dat.
void GradeExam();
// kind "counter", "correct" or "wrong"; nothing while an exam runs.
void UpdateQuestionStats(std::int32_t questionId, std::string_view kind);
// Rewrites Data/Resource.dat; nothing while an exam runs.
void SaveQuestionStats();

// Grades, stores CurrentQuestionIndex as the start index and writes CurrentExam to path.
bool SaveExam(const std::filesystem::path& path);
// Replaces CurrentExam with a saved exam when the file is valid and coherent; otherwise
// shows the bad-save message and leaves CurrentExam as it was.
bool LoadSavedExam(const std::filesystem::path& path);

}  // namespace mod_Exam

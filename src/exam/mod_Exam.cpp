#include "exam/mod_Exam.h"

#include "formats/TextRules.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "core/SystemVars.h"
#include "core/mod_Array.h"
#include "core/mod_Helper.h"
#include "core/mod_Question.h"
#include "exam/CurrentExam.h"
#include "exam/ExamGrades.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/QuestionLookup.h"
#include "formats/Windows1252.h"
#include "platform/MessageBox.h"

namespace mod_Exam {

namespace {

constexpr std::size_t kMaxQuestions = std::numeric_limits<std::int16_t>::max();

RandomDraw& injectedDraw() {
    static RandomDraw draw;
    return draw;
}

// A generator seeded afresh from the clock for every build, so two builds differ.
RandomDraw clockSeededDraw() {
    std::random_device device;
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), static_cast<std::uint32_t>(ticks),
                       static_cast<std::uint32_t>(ticks >> 32)};
    return [engine = std::mt19937(seed)]() mutable {
        // 24 random bits give every float of [0, 1) a step apart, never 1 itself.
        return static_cast<float>(engine() >> 8) * 0x1p-24f;
    };
}

// Counts of a 0/1 set with "k-th element still present" in logarithmic time.
class PresenceTree {
public:
    explicit PresenceTree(std::size_t size) : tree_(size + 1, 0) {
        for (std::size_t k = 1; k <= size; ++k) {
            tree_[k] += 1;
            const std::size_t parent = k + (k & (~k + 1));
            if (parent <= size) tree_[parent] += tree_[k];
        }
    }

    // 0-based position of the k-th present element (1 <= k <= present count); removes it.
    std::size_t TakeKth(std::size_t k) {
        std::size_t position = 0;
        std::size_t step = 1;
        while (step * 2 < tree_.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            if (position + step < tree_.size() && tree_[position + step] < k) {
                position += step;
                k -= tree_[position];
            }
        }
        for (std::size_t i = position + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] -= 1;
        return position;
    }

private:
    std::vector<std::size_t> tree_;
};

// The order step: every bank id once, in bank order or drawn from a shrinking pool.
std::vector<std::int32_t> examOrder() {
    std::vector<std::int32_t> order;
    order.reserve(QuestionBank.size());
    if (!CurrentExam.Randomize) {
        for (const QuestionRecord& q : QuestionBank)
            order.push_back(q.QuestionID);
        return order;
    }
    const RandomDraw draw = injectedDraw() ? injectedDraw() : clockSeededDraw();
    PresenceTree pool(QuestionBank.size());
    for (std::size_t drawn = 0; drawn < QuestionBank.size(); ++drawn) {
        const std::size_t size = QuestionBank.size() - drawn;
        const double k = std::floor(static_cast<double>(draw()) * static_cast<double>(size) + 1);
        const std::size_t kth = k < 1 ? 1 : std::min(static_cast<std::size_t>(k), size);
        order.push_back(QuestionBank[pool.TakeKth(kth)].QuestionID);
    }
    return order;
}

bool inGroups(std::int16_t groupCode) {
    if (!CurrentExam.Groups) return false;
    for (const std::int16_t g : *CurrentExam.Groups)
        if (g == groupCode) return true;
    return false;
}

void setQuestions(const std::vector<std::int32_t>& ids) {
    std::vector<QuestionState> states;
    states.reserve(std::max<std::size_t>(std::min(ids.size(), kMaxQuestions), 1));
    for (std::size_t k = 0; k < ids.size() && k < kMaxQuestions; ++k)
        states.push_back(QuestionState{ids[k], std::nullopt, std::nullopt, false});
    if (states.empty()) states.push_back(QuestionState{});
    CurrentExam.Questions = std::move(states);
}

std::string trimmedLower(std::string_view text) {
    return formats::LowerCase(formats::TrimSpaces(text));
}

// Lower case, trimmed, every run of blanks reduced to one.
std::string normalizedFillIn(std::string_view text) {
    std::string normalized;
    for (const char c : trimmedLower(text))
        if (c != ' ' || normalized.empty() || normalized.back() != ' ') normalized.push_back(c);
    return normalized;
}

// The numeric value that leads a text, as a choice's first field is read; 0 for none.
double leadingNumber(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    double value = 0;
    std::from_chars(text.data() + first, text.data() + text.size(), value);
    return value;
}

// Field k of a choice's "<f>"-separated fields; nullopt when it has fewer.
std::optional<std::string_view> choiceField(std::string_view choice, std::size_t k) {
    for (std::size_t skipped = 0; skipped < k; ++skipped) {
        const std::size_t at = choice.find("<f>");
        if (at == std::string_view::npos) return std::nullopt;
        choice.remove_prefix(at + 3);
    }
    return choice.substr(0, choice.find("<f>"));
}

std::unordered_set<std::string> groupTexts(const std::vector<std::string>& groups) {
    return {groups.begin(), groups.end()};
}

std::int16_t clampCount(std::size_t count) {
    return static_cast<std::int16_t>(std::min(count, kMaxQuestions));
}

// A counter read from the file may already stand at its largest value: it stays there.
void countOne(std::int32_t& counter) {
    if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

void countIn(QuestionStats* stats, std::string_view kind) {
    if (!stats) return;
    if (kind == "counter") countOne(stats->TimesAsked);
    if (kind == "correct") countOne(stats->CorrectCount);
    if (kind == "wrong") countOne(stats->WrongCount);
}

// Statistics count only for the grading that ends an exam: never while it runs, never again
// in review or when its ending is offered again.
bool examRunning() {
    return exam::CurrentExamSession.InProgress() || exam::CurrentExamSession.InReview() ||
           exam::CurrentExamSession.Counted();
}

}  // namespace

void SetRandomDraw(RandomDraw draw) {
    injectedDraw() = std::move(draw);
}

void BuildExamQuestions() {
    exam::QuestionLookup lookup;
    std::vector<std::int32_t> chosen;
    for (const std::int32_t id : examOrder()) {
        const QuestionRecord* q = lookup.Question(id);
        if (q && inGroups(q->GroupCode)) chosen.push_back(id);
    }
    setQuestions(chosen);
}

void BuildCustomExamQuestions() {
    struct Row {
        bool selected;
        std::string name;
        std::int16_t quota[3];
        std::int16_t taken[3];
    };
    std::vector<Row> rows;
    if (CurrentExam.Objectives) {
        for (const ObjectiveCount& o : *CurrentExam.Objectives)
            rows.push_back(Row{o.Selected,
                               trimmedLower(o.Name),
                               {o.Beginner, o.Intermediate, o.Expert},
                               {0, 0, 0}});
    }
    exam::QuestionLookup lookup;
    std::vector<std::int32_t> chosen;
    for (const std::int32_t id : examOrder()) {
        const QuestionRecord* q = lookup.Question(id);
        if (!q || !inGroups(q->GroupCode)) continue;
        const std::string topic = trimmedLower(q->Topic);
        // Every matching row may take the question: no early exit.
        for (Row& row : rows) {
            if (!row.selected || row.name != topic || q->Level < 1 || q->Level > 3) continue;
            const auto level = static_cast<std::size_t>(q->Level - 1);
            if (row.taken[level] < row.quota[level]) {
                chosen.push_back(id);
                ++row.taken[level];
            }
        }
    }
    setQuestions(chosen);
    if (!CurrentExam.SmartMode) return;

    const bool byWrong = CurrentExam.Smart0 && CurrentExam.Smart0Count >= 1;
    const bool byCorrect = CurrentExam.Smart1 && CurrentExam.Smart1Count >= 1;
    std::vector<std::int32_t> kept;
    for (const std::int32_t id : chosen) {
        const QuestionStats* stats = lookup.Stats(id);
        if (!stats) continue;
        if ((byWrong && stats->WrongCount >= CurrentExam.Smart0Count) ||
            (byCorrect && stats->CorrectCount >= CurrentExam.Smart1Count))
            kept.push_back(id);
    }
    setQuestions(kept);
}

std::vector<std::string> GetObjectiveList(const std::vector<std::string>& groups) {
    const auto wanted = groupTexts(groups);
    std::vector<std::string> objectives;
    std::unordered_set<std::string> seen;
    for (const QuestionRecord& q : QuestionBank) {
        if (wanted.contains(std::to_string(q.GroupCode)) && seen.insert(q.Topic).second)
            objectives.push_back(q.Topic);
    }
    if (objectives.empty()) return {std::string()};
    mod_Array::QuickSort(objectives, 0, static_cast<std::int32_t>(objectives.size()) - 1);
    return objectives;
}

std::int16_t CountObjectiveQuestions(const std::vector<std::string>& groups,
                                     std::string_view objective, std::int16_t level) {
    const auto wanted = groupTexts(groups);
    const std::string name = trimmedLower(objective);
    std::size_t count = 0;
    for (const QuestionRecord& q : QuestionBank) {
        if (q.Level == level && wanted.contains(std::to_string(q.GroupCode)) &&
            trimmedLower(q.Topic) == name)
            ++count;
    }
    return clampCount(count);
}

std::vector<std::array<std::int16_t, 3>> CountObjectiveQuestionsPerLevel(
    const std::vector<std::string>& groups, const std::vector<std::string>& objectives) {
    const auto wanted = groupTexts(groups);
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t k = 0; k < objectives.size(); ++k)
        byName[trimmedLower(objectives[k])].push_back(k);
    // A bank repeats a few topic texts: each is brought to its compared form once.
    static const std::vector<std::size_t> kNone;
    std::unordered_map<std::string_view, const std::vector<std::size_t>*> byTopic;
    std::vector<std::array<std::size_t, 3>> counts(objectives.size());
    for (const QuestionRecord& q : QuestionBank) {
        if (q.Level < 1 || q.Level > 3 || !wanted.contains(std::to_string(q.GroupCode))) continue;
        auto [topic, added] = byTopic.try_emplace(q.Topic, &kNone);
        if (added) {
            const auto found = byName.find(trimmedLower(q.Topic));
            if (found != byName.end()) topic->second = &found->second;
        }
        for (const std::size_t k : *topic->second)
            ++counts[k][static_cast<std::size_t>(q.Level - 1)];
    }
    std::vector<std::array<std::int16_t, 3>> clamped(objectives.size());
    for (std::size_t k = 0; k < counts.size(); ++k)
        for (std::size_t level = 0; level < 3; ++level)
            clamped[k][level] = clampCount(counts[k][level]);
    return clamped;
}

std::int16_t CountGroupQuestions(std::string_view groupList, std::int16_t level) {
    std::unordered_set<std::string> wanted;
    for (const std::string_view code : formats::Split(groupList, ","))
        wanted.emplace(code);
    std::size_t count = 0;
    for (const QuestionRecord& q : QuestionBank)
        if (q.Level == level && wanted.contains(std::to_string(q.GroupCode))) ++count;
    return clampCount(count);
}

void BuildAnswerKey() {
    if (!CurrentExam.Questions) return;
    exam::QuestionLookup lookup;
    for (QuestionState& state : *CurrentExam.Questions) {
        const QuestionRecord* q = lookup.Question(state.QuestionID);
        if (!q) continue;
        const bool keyed = q->QuestionType == kSingleAnswerType ||
                           q->QuestionType == kMultipleAnswerType ||
                           q->QuestionType == kFillInAnswerType;
        const std::size_t field = q->QuestionType == kFillInAnswerType ? 3 : 2;
        // The choices are walked in place: an exam of thousands of questions builds its keys
        // at start, so no list of pieces is made per choice.
        std::string_view rest = q->Choices;
        bool first = true;
        for (bool last = false; !last;) {
            const std::size_t end = rest.find("<c>");
            last = end == std::string_view::npos;
            const std::string_view choice = rest.substr(0, end);
            if (!last) rest.remove_prefix(end + 3);
            if (leadingNumber(choiceField(choice, 0).value_or("")) != 1) continue;
            // The first correct choice starts the key afresh.
            if (first) state.AnswerKey.emplace();
            first = false;
            state.AnswerKey->emplace_back(keyed ? choiceField(choice, field).value_or("") : "");
        }
    }
}

bool IsAnswerCorrect(const TextList& key, const TextList& given, std::int16_t answerType) {
    if (!key || !given || key->size() != given->size()) return false;
    std::int32_t index = 0;
    switch (answerType) {
        case kSingleAnswerType:
        case kMultipleAnswerType:
            // With equal counts both types mean: every given text is one of the key's.
            for (const std::string& answer : *given) {
                index = 0;
                if (!mod_Array::IsInArray(key, answer, index)) return false;
            }
            return true;
        case kFillInAnswerType:
            for (std::size_t k = 0; k < key->size(); ++k)
                if (normalizedFillIn((*key)[k]) != normalizedFillIn((*given)[k])) return false;
            return true;
        default:
            return false;
    }
}

void GradeExam() {
    const bool counting = !examRunning();
    const std::size_t total = CurrentExam.Questions ? CurrentExam.Questions->size() : 0;
    std::size_t correct = 0;
    std::size_t wrong = 0;
    std::size_t unanswered = 0;
    exam::QuestionLookup lookup;
    for (std::size_t k = 0; k < total; ++k) {
        const QuestionState& state = (*CurrentExam.Questions)[k];
        const exam::QuestionGrade grade =
            exam::GradeQuestion(state, lookup.Question(state.QuestionID));
        if (grade == exam::QuestionGrade::kUncounted) continue;
        QuestionStats* stats = counting ? lookup.Stats(state.QuestionID) : nullptr;
        countIn(stats, "counter");
        switch (grade) {
            case exam::QuestionGrade::kUnanswered:
                ++unanswered;
                break;
            case exam::QuestionGrade::kCorrect:
                ++correct;
                countIn(stats, "correct");
                break;
            case exam::QuestionGrade::kWrong:
                ++wrong;
                countIn(stats, "wrong");
                break;
            case exam::QuestionGrade::kUncounted:
                break;
        }
    }
    SaveQuestionStats();

    CurrentExam.Total = clampCount(total);
    CurrentExam.Correct = clampCount(correct);
    CurrentExam.Wrong = clampCount(wrong);
    CurrentExam.Unanswered = clampCount(unanswered);
    CurrentExam.PercentText = exam::GradedPercentText(CurrentExam.Correct, CurrentExam.Total);
    CurrentExam.ScoreText = exam::GradedScoreText(CurrentExam.Correct, CurrentExam.Total);
}

void UpdateQuestionStats(std::int32_t questionId, std::string_view kind) {
    if (examRunning()) return;
    exam::QuestionLookup lookup;
    countIn(lookup.Stats(questionId), kind);
}

void SaveQuestionStats() {
    if (examRunning()) return;
    mod_Question::WriteStatistics();
}

bool SaveExam(const std::filesystem::path& path) {
    GradeExam();
    CurrentExam.StartIndex = CurrentQuestionIndex;
    return exam::WriteExamFile(path, CurrentExam);
}

bool LoadSavedExam(const std::filesystem::path& path) {
    std::error_code ec;
    const bool present = mod_Helper::FileExists(path) && std::filesystem::file_size(path, ec) >= 1;
    auto loaded = present && !ec ? exam::ReadExamFile(path) : std::nullopt;
    if (!loaded) {
        platform::MsgBox(
            SystemVars.SaveTabTexts(save_tab_text::kDamaged) + formats::PathToWindows1252(path),
            platform::kCritical, SystemVars.SaveTabTexts(save_tab_text::kDamagedCaption));
        return false;
    }
    CurrentExam = std::move(*loaded);
    return true;
}

}  // namespace mod_Exam

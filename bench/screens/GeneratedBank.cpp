#include "GeneratedBank.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <string_view>
#include <system_error>
#include <vector>

#include "../ScratchFolder.h"
#include "../WordSalad.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_System.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamRecordIo.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_Exam.h"
#include "formats/BinaryWriter.h"
#include "formats/FileIo.h"

namespace fs = std::filesystem;

namespace benchbank {
namespace {

formats::Bytes pictureBytes() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

std::string pictureName(std::size_t k) {
    return "exhibit-" + std::to_string(10000 + k) + ".gif";
}

// Single answers mostly, some multiple answers and fill-ins, as a real bank mixes them.
void fillChoices(QuestionRecord& q, std::size_t i, std::mt19937& rng) {
    q.QuestionType = static_cast<std::int16_t>(i % 10 == 8 ? 2 : i % 10 == 9 ? 6 : 1);
    if (q.QuestionType == kFillInAnswerType) {
        q.Choices = "1<f><f>1<f>" + WordSalad(rng, 12);
        return;
    }
    for (const char caption : {'A', 'B', 'C', 'D'}) {
        const bool right =
            caption == 'A' || (q.QuestionType == kMultipleAnswerType && caption == 'C');
        if (!q.Choices.empty()) q.Choices += "<c>";
        q.Choices +=
            std::string(right ? "1" : "0") + "<f><f>" + caption + "<f>" + WordSalad(rng, 30);
    }
}

ScratchFolder& folder() {
    static ScratchFolder scratch("examsim-bench-screens-");
    return scratch;
}

}  // namespace

std::string PrepareProgramFolder() {
    const fs::path data = folder().path() / "Data";
    fs::create_directories(data);
    std::error_code ec;
    fs::copy_file(fs::path(EXAMSIM_APP_DIR) / "Data" / "System.dat", data / "System.dat",
                  fs::copy_options::overwrite_existing, ec);
    if (ec) return "cannot copy the built System.dat (build the program first)";
    AppPaths::SetProgramFolder(folder().path());
    AbortFlag = false;
    mod_System::LoadSystemVars();
    const auto key = MakeDataKey(SystemVars.DataKeySource);
    if (AbortFlag || !key) return "cannot load the built System.dat";
    SystemVars.DataKeySource = *key;
    DataKey = *key;
    return {};
}

void InstallBank(std::size_t questions) {
    std::mt19937 rng(20240601);
    std::vector<std::string> objectives;
    for (std::size_t k = 0; k < kObjectives; ++k)
        objectives.push_back("Objective " + std::to_string(k + 1) + " " + WordSalad(rng, 24));
    QuestionBank.clear();
    QuestionBank.reserve(questions);
    QuestionStatsTable.clear();
    QuestionStatsTable.reserve(questions);
    const std::size_t pictureEvery = std::max<std::size_t>(questions / kPictures, 1);
    for (std::size_t i = 0; i < questions; ++i) {
        QuestionRecord q;
        q.QuestionID = static_cast<std::int32_t>(100000 + i);
        // One question in five belongs to a practice set (codes from 51).
        static constexpr std::array<std::int16_t, 5> kKinds = {11, 21, 31, 41, 46};
        q.GroupCode =
            static_cast<std::int16_t>(i % 5 == 0 ? 51 + i / 5 % 10 : kKinds[i / 5 % kKinds.size()]);
        q.Topic = objectives[i % objectives.size()];
        q.Level = static_cast<std::int16_t>(1 + i % 3);
        q.QuestionText = WordSalad(rng, 150);
        q.Explanation = WordSalad(rng, 350);
        if (i % pictureEvery == 0 && i / pictureEvery < kPictures)
            q.PictureName = pictureName(i / pictureEvery);
        fillChoices(q, i, rng);
        // The program reads every text at its exact size; built texts keep spare room.
        for (std::string* text :
             {&q.Topic, &q.QuestionText, &q.Explanation, &q.Field8, &q.PictureName, &q.Choices})
            text->shrink_to_fit();
        QuestionBank.push_back(std::move(q));
        const auto asked = static_cast<std::int32_t>(i % 7);
        QuestionStatsTable.push_back({QuestionBank.back().QuestionID, asked / 2,
                                      asked - asked / 2 - (asked > 3 ? 1 : 0), asked, i % 97 == 0});
    }
    QuestionPictures.assign(1, AttachedFile{});
    const formats::Bytes picture = pictureBytes();
    for (std::size_t k = 0; k < kPictures; ++k)
        QuestionPictures.push_back({pictureName(k), picture});
    std::sort(objectives.begin(), objectives.end());
    ObjectiveNames = objectives;
    std::set<std::int16_t> practice;
    for (const QuestionRecord& q : QuestionBank)
        if (q.GroupCode >= 51) practice.insert(q.GroupCode);
    PracticeGroups.assign(practice.begin(), practice.end());
    exam::InvalidateQuestionLookup();
}

void ReleaseBank() {
    QuestionBank.clear();
    QuestionStatsTable.clear();
}

void WriteSaves(std::size_t count) {
    const fs::path saves = AppPaths::SaveFolder();
    std::error_code ec;
    fs::remove_all(saves, ec);
    fs::create_directories(saves);
    CurrentExamRecord exam = BlankExam;
    exam.Title = "Practice Set 1";
    exam.Minutes = "90";
    exam.RemainingText = "00:42:10";
    exam.ElapsedText = "00:47:50";
    exam.ExamDate = 46000.5;
    exam.Groups = std::vector<std::int16_t>{51};
    std::vector<QuestionState> states;
    for (std::size_t k = 0; k < 50 && k < QuestionBank.size(); ++k)
        states.push_back({QuestionBank[k * 5].QuestionID, std::vector<std::string>{"A"},
                          k % 2 ? std::optional(std::vector<std::string>{"B"}) : std::nullopt,
                          k % 9 == 0});
    exam.Questions = states;
    for (std::size_t k = 0; k < count; ++k) {
        exam.ExamDate = 46000.5 + static_cast<double>(k) / 24;
        exam::WriteExamFile(saves / ("exam " + std::to_string(10000 + k) + ".sav"), exam);
    }
}

void WriteHistory(std::size_t count) {
    mod_Performance::InitPerformancePaths();
    formats::BinaryWriter body;
    for (std::size_t k = 0; k < count; ++k) {
        PerformanceSummary summary;
        summary.Index = static_cast<std::int32_t>(k);
        summary.FilePath = (mod_Performance::PerformanceDir /
                            ("0123456789ABCDEF0123456789A" + std::to_string(10000 + k)))
                               .string();
        summary.Title = k % 3 == 0 ? "Exhaustive" : "Practice Set " + std::to_string(1 + k % 10);
        summary.ExamDate = 45000.25 + static_cast<double>(k) * 0.7;
        summary.SavedAt = summary.ExamDate + 0.05;
        summary.ElapsedText = "01:02:03";
        summary.Groups = std::vector<std::int16_t>{static_cast<std::int16_t>(51 + k % 10)};
        summary.Total = 60;
        summary.Correct = static_cast<std::int16_t>(20 + k % 40);
        summary.Wrong = static_cast<std::int16_t>(60 - summary.Correct - 5);
        summary.Unanswered = 5;
        summary.PercentText = std::to_string(summary.Correct * 100 / 60) + "%";
        summary.ScoreText = "Score : " + summary.PercentText;
        mod_Performance::WriteSummary(body, summary);
    }
    mod_System::WriteSignedFile(mod_Performance::PerformanceIndexPath, std::to_string(count - 1),
                                body);
}

bool WriteLastQuestionNote() {
    const fs::path notes = AppPaths::MyNotesFolder();
    fs::create_directories(notes);
    const std::string text = "<html><body>note</body></html>";
    return formats::WriteFileReplacing(
        notes / (std::to_string(QuestionBank.back().QuestionID) + ".html"),
        formats::Bytes(text.begin(), text.end()));
}

void PrepareWholeBankExam(bool showScore) {
    std::set<std::int16_t> groups;
    for (const QuestionRecord& q : QuestionBank)
        groups.insert(q.GroupCode);
    CurrentExam = BlankExam;
    CurrentExam.Title = "Everything";
    CurrentExam.Minutes = "0";
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.TimerOn = true;
    CurrentExam.Groups = std::vector<std::int16_t>(groups.begin(), groups.end());
    CurrentExam.Randomize = false;
    CurrentExam.ShowScore = showScore;
    CurrentExam.AnswerMode = 0;
    mod_Exam::BuildExamQuestions();
}

}  // namespace benchbank

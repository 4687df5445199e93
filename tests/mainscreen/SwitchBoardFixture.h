#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>

#include <sstream>
#include <string>
#include <vector>

#include "core/AbortFlag.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

namespace testsupport {

inline QuestionRecord BankQuestion(std::int32_t id, std::int16_t group, std::string topic,
                                   std::int16_t level = 1) {
    QuestionRecord q;
    q.QuestionID = id;
    q.GroupCode = group;
    q.Topic = std::move(topic);
    q.Level = level;
    q.QuestionType = kSingleAnswerType;
    q.QuestionText = "Question " + std::to_string(id);
    q.Choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no";
    return q;
}

// One untouched statistics record per bank question.
inline void ResetStats() {
    QuestionStatsTable.clear();
    for (const QuestionRecord& q : QuestionBank)
        QuestionStatsTable.push_back({q.QuestionID, 0, 0, 0, false});
}

// CurrentExam's question ids in exam order.
inline std::vector<std::int32_t> ExamIds() {
    std::vector<std::int32_t> ids;
    for (const QuestionState& state : CurrentExam.Questions.value())
        ids.push_back(state.QuestionID);
    return ids;
}

// A fresh program folder, a small bank and the main screen's texts; Load() builds the main
// screen from them, so a test can change the globals first.
struct SwitchBoardFixture : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    QPointer<frm_SwitchBoard> board;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        DataKey = KeyOf(SystemVars);
        SystemVars.PracticeCaption = "Practice Set";
        SystemVars.ObjectivesHeading = "Objectives:";
        for (int k = 1; k <= 4; ++k)
            SystemVars.ExamTitles.at(k) = "Exam " + std::to_string(k);
        SystemVars.TimeLimits = {45, 0, 20, 60, 90};
        // Save-tab texts 0 to 24 (the buttons' captions are left empty).
        std::istringstream saveTexts(
            "Saved Exams|Saved exams: ||||||||||||||Delete checked?|Delete Saved Exam|Damaged|"
            "Cannot open: |minutes|minute|Untimed|(hh:mm:ss)|Delete this? |File Name");
        for (int k = 0; k <= 24; ++k)
            std::getline(saveTexts, SystemVars.SaveTabTexts.at(k), '|');
        QuestionBank = {BankQuestion(1, 11, "Routing"),   BankQuestion(2, 46, "Switching"),
                        BankQuestion(3, 11, "Routing"),   BankQuestion(4, 21, "Security"),
                        BankQuestion(5, 41, "Wireless"),  BankQuestion(6, 51, "Routing"),
                        BankQuestion(7, 52, "Switching"), BankQuestion(8, 53, "Security")};
        ResetStats();
        ObjectiveNames = {"Routing", "Security", "Switching", "Wireless"};
        PracticeGroups = {51, 52, 53};
        PerformanceHistory.clear();
        CurrentExam = BlankExam;
    }

    void TearDown() override {
        exam::UnloadExamWindow();
        delete board;
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CurrentExam = BlankExam;
        QuestionBank.clear();
        QuestionStatsTable.clear();
        PracticeGroups.clear();
        ObjectiveNames.clear();
        AbortFlag = false;
    }

    frm_SwitchBoard& Load() {
        delete board;
        board = new frm_SwitchBoard();
        return *board;
    }
};

}  // namespace testsupport

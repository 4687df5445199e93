#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "core/AppPaths.h"
#include "core/FileSignature.h"
#include "core/ReadOnlyTextBox.h"
#include "core/frm_Confirm.h"
#include "core/mod_User.h"
#include "exam/QuestionLookup.h"
#include "mainscreen/CountPanel.h"
#include "mainscreen/CustomExamFile.h"
#include "mainscreen/LevelCountBox.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/frm_Customize.h"
#include "platform/Look.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;

namespace {

std::vector<std::string> texts(const std::vector<LevelCountBox*>& boxes) {
    std::vector<std::string> shown;
    shown.reserve(boxes.size());
    for (const LevelCountBox* box : boxes)
        shown.push_back(box->text().toStdString());
    return shown;
}

struct CustomizeTest : SwitchBoardFixture {
    std::vector<QPointer<frm_Customize>> dialogs;

    void SetUp() override {
        SwitchBoardFixture::SetUp();
        UserSettings = {};
        SystemVars.GroupNames.at(21) = "Diagnostic";
        SystemVars.CustomizeTexts.at(customize_text::kCustomize) = "Customize";
        SystemVars.CustomizeTexts.at(customize_text::kExamSuffix) = "Exam";
        SystemVars.CustomizeTexts.at(customize_text::kCustom) = "Custom";
        for (int k = 1; k <= 5; ++k)
            SystemVars.ZeroTotalTexts.at(k) = "zero " + std::to_string(k);
        SystemVars.ZeroTotalTexts.at(confirm_text::kIcon) = "3";
        QuestionBank = {
            BankQuestion(1, 21, "Routing"),      BankQuestion(2, 21, "Routing"),
            BankQuestion(3, 21, "Routing"),      BankQuestion(4, 21, "Routing", 2),
            BankQuestion(5, 21, "Switching"),    BankQuestion(6, 21, "Switching", 3),
            BankQuestion(7, 21, "Switching", 3), BankQuestion(8, 11, "Routing"),
            BankQuestion(9, 46, "Security", 2),  BankQuestion(10, 41, "Routing"),
            BankQuestion(11, 31, "Wireless", 3), BankQuestion(12, 51, "Routing"),
        };
        ResetStats();
        QuestionStatsTable[0].WrongCount = 3;
        QuestionStatsTable[1].WrongCount = 1;
        QuestionStatsTable[4].WrongCount = 2;
        exam::InvalidateQuestionLookup();
        CustomExamTable.clear();
    }

    void TearDown() override {
        for (const QPointer<frm_Customize>& dialog : dialogs)
            delete dialog.data();
        CustomExamTable.clear();
        UserSettings = {};
        SwitchBoardFixture::TearDown();
    }

    // Loaded and shown as its opener does, but not modal, so the test drives it.
    frm_Customize* open(const std::string& codes,
                        CustomizeOrigin origin = CustomizeOrigin::kExamKind) {
        auto* dialog = new frm_Customize(nullptr, codes, origin);
        dialogs.emplace_back(dialog);
        dialog->Form_Load();
        dialog->show();
        return dialog;
    }

    // On the indicator: the captions are empty here.
    static void click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
};

}  // namespace

TEST_F(CustomizeTest, FirstOpeningShowsEveryRowUncheckedAtItsMaximumAndSumsIn32Bits) {
    frm_Customize* d = open("21");
    EXPECT_EQ(d->lbl_customize->text(), "Customize Diagnostic Exam");
    ASSERT_EQ(d->lblObjectives.size(), 2u);
    EXPECT_EQ(texts(d->ctrBeginner), (std::vector<std::string>{"3", "1"}));
    EXPECT_EQ(texts(d->ctrIntermediate), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(texts(d->ctrExpert), (std::vector<std::string>{"0", "2"}));
    for (std::size_t row = 0; row < 2; ++row) {
        EXPECT_FALSE(d->chkObjectives[row]->isChecked());
        EXPECT_FALSE(d->ctrBeginner[row]->isEnabled());
    }
    EXPECT_TRUE(d->Option1[2]->isChecked());
    EXPECT_FALSE(d->Option1[2]->isEnabled());
    EXPECT_EQ(d->txtTotal->text(), "0");
    EXPECT_TRUE(d->chkSave->isVisibleTo(d));
    ASSERT_EQ(CustomExamTable.size(), 1u);
    EXPECT_EQ(CustomExamTable[0].Groups, (std::vector<std::int16_t>{21}));
    EXPECT_EQ(CustomExamTable[0].Objectives->at(1), (ObjectiveCount{false, "", 1, 0, 2}));

    // A box whose maximum is 0 stays disabled in a checked row.
    click(d->chkObjectives[0]);
    EXPECT_TRUE(d->ctrIntermediate[0]->isEnabled());
    EXPECT_FALSE(d->ctrExpert[0]->isEnabled());
    EXPECT_EQ(d->txtTotal->text(), "4");
    QTest::mouseClick(d->lblObjectives[1], Qt::LeftButton);
    EXPECT_EQ(d->txtTotal->text(), "7");
    EXPECT_EQ(d->Record()->Objectives->at(1), (ObjectiveCount{true, "Switching", 1, 0, 2}));
    click(d->chkObjectives[0]);
    EXPECT_FALSE(d->ctrBeginner[0]->isEnabled());
    EXPECT_EQ(d->txtTotal->text(), "3");
    EXPECT_EQ(d->Record()->Objectives->at(0), (ObjectiveCount{false, "", 3, 1, 0}));

    click(d->chkObjectives[0]);
    for (int level = 1; level <= 3; ++level)
        for (LevelCountBox* box : d->LevelBoxes(level))
            box->SetText("9999");
    EXPECT_EQ(d->txtTotal->text(), "59994");
}

TEST_F(CustomizeTest, TheDialogIsTitledOnThePanelColourAndItsHeadingsStayWhileRowsScroll) {
    frm_Customize* d = open("21");
    EXPECT_EQ(d->windowTitle(), "Customize Diagnostic Exam");
    EXPECT_EQ(d->palette().color(d->backgroundRole()), platform::PanelColour());
    EXPECT_TRUE(d->autoFillBackground());
    const QPoint heading = d->txtLabel[1]->mapTo(d, QPoint());
    const QPoint row = d->chkObjectives[0]->mapTo(d, QPoint());
    d->Objectives_Vscroll->setRange(0, 100);
    d->Objectives_Vscroll->setValue(20);
    EXPECT_EQ(d->chkObjectives[0]->mapTo(d, QPoint()), row - QPoint(0, 20));
    EXPECT_EQ(d->txtLabel[1]->mapTo(d, QPoint()), heading);
}

TEST_F(CustomizeTest, EveryControlIsFoundByItsOwnName) {
    frm_Customize* d = open("21");
    ASSERT_GE(d->chkObjectives.size(), 2u);
    EXPECT_EQ(d->findChild<QPushButton*>("cmdStart"), d->cmdStart);
    EXPECT_EQ(d->findChild<QAction*>("mnuMaximumValue"), d->mnuMaximumValue);
    EXPECT_EQ(d->findChild<QRadioButton*>("Option1_2"), d->Option1[2]);
    EXPECT_EQ(d->findChild<QCheckBox*>("chkObjectives_1"), d->chkObjectives[1]);
    EXPECT_EQ(d->findChild<LevelCountBox*>("ctrExpert_1"), d->ctrExpert[1]);
    EXPECT_EQ(testsupport::duplicateNames(*d), QStringList());
}

TEST_F(CustomizeTest, RememberedSettingsComeBackBoundedForEveryKind) {
    const std::vector<std::string> kinds{"21", "41", "31", "11,46", "51"};
    for (const std::string& codes : kinds) {
        CustomExam remembered;
        remembered.Code = std::stoi(codes);
        remembered.Groups = std::vector<std::int16_t>{static_cast<std::int16_t>(remembered.Code)};
        // Beginner 0 comes back as the maximum; an oversized count is bounded to the box.
        remembered.Objectives =
            std::vector<ObjectiveCount>{{true, "x", 0, 32000, 1}, {false, "", 1, 1, 1}};
        remembered.Randomize = remembered.Timer = remembered.SmartMode = true;
        remembered.Smart0 = true;  // its threshold 0 leaves its box disabled
        remembered.Smart1 = true;
        remembered.Smart1Count = 3;
        remembered.ShowScore = remembered.ShowAnswers = remembered.Save = true;
        remembered.Minutes = 1500;
        remembered.AnswerMode = 7;  // not offered: no explanation
        CustomExamTable.push_back(remembered);
    }
    ASSERT_TRUE(CustomExamFile::WriteCustomExamFile());
    CustomExamTable.clear();

    const std::vector<std::string> beginnerMaximum{"3", "1", "0", "1", "1"};
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        SCOPED_TRACE(kinds[k]);
        frm_Customize* d = open(kinds[k]);
        EXPECT_TRUE(d->chkObjectives[0]->isChecked());
        EXPECT_EQ(d->ctrBeginner[0]->text().toStdString(), beginnerMaximum[k]);
        EXPECT_EQ(d->ctrIntermediate[0]->text(), "9999");
        EXPECT_EQ(d->ctrExpert[0]->text(), "1");
        for (QCheckBox* box : {d->chkRandomize, d->chkSave, d->chkAnswers, d->chkScore,
                               d->chkSmartMode, d->chkSmart[0], d->chkSmart[1], d->chkTimer})
            EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
        EXPECT_TRUE(d->Option1[2]->isChecked() && d->Option1[2]->isEnabled());
        EXPECT_EQ(d->Record()->AnswerMode, 2);
        EXPECT_FALSE(d->txtSmart[0]->isEnabled());
        EXPECT_EQ(d->txtSmart[1]->text(), "3");
        EXPECT_TRUE(d->txtSmart[1]->isEnabled());
        EXPECT_EQ(d->txtMinutes->text(), "999");
        EXPECT_TRUE(d->txtMinutes->isEnabled());
        EXPECT_EQ(d->Record()->Objectives->size(), d->chkObjectives.size());
        delete d;
    }
}

TEST_F(CustomizeTest, TheTotalIsWhatTheBuildKeepsInSmartMode) {
    frm_Customize* d = open("21");
    d->lblObjectives_Click(0);
    d->lblObjectives_Click(1);
    EXPECT_EQ(d->txtTotal->text(), "7");

    // Smart mode with no filter ticked keeps nothing.
    click(d->chkSmartMode);
    EXPECT_EQ(d->txtTotal->text(), "0");
    click(d->chkSmart[0]);
    EXPECT_TRUE(d->txtSmart[0]->isEnabled());
    d->txtSmart[0]->SetText("2");
    EXPECT_EQ(d->txtTotal->text(), "2");
    EXPECT_EQ(ExamIds(), (std::vector<std::int32_t>{1, 5}));

    // With the filter still ticked but smart mode off the plain quota is counted.
    click(d->chkSmartMode);
    EXPECT_FALSE(d->txtSmart[0]->isEnabled());
    EXPECT_EQ(d->txtTotal->text(), "7");
}

TEST_F(CustomizeTest, StartBuildsTheExamAndRemembersEveryKind) {
    frm_Customize* d = open("21");
    click(d->chkObjectives[0]);
    d->ctrBeginner[0]->SetText("2");
    click(d->chkTimer);
    d->txtMinutes->SetText("45");
    click(d->chkAnswers);
    click(d->Option1[0]);
    click(d->chkScore);
    click(d->chkSave);
    click(d->cmdStart);

    EXPECT_TRUE(d->Started());
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(CurrentExam.Title, "Custom Diagnostic Exam");
    EXPECT_EQ(CurrentExam.Minutes, "45");
    EXPECT_EQ(CurrentExam.RemainingText, "00:00:00");
    EXPECT_TRUE(CurrentExam.TimerOn && CurrentExam.IsCustom && CurrentExam.ShowScore);
    EXPECT_EQ(CurrentExam.AnswerMode, 0);
    EXPECT_EQ(CurrentExam.Groups, (std::vector<std::int16_t>{21}));
    EXPECT_EQ(ExamIds(), (std::vector<std::int32_t>{1, 2, 4}));
    exam::UnloadExamWindow();

    frm_Customize* trial = open("11,46");
    trial->lblObjectives_Click(1);
    click(trial->cmdStart);
    EXPECT_EQ(CurrentExam.Minutes, "0");
    EXPECT_EQ(CurrentExam.AnswerMode, 2);
    EXPECT_EQ(ExamIds(), (std::vector<std::int32_t>{9}));

    CustomExamTable.clear();
    ASSERT_TRUE(CustomExamFile::ReadCustomExamFile());
    EXPECT_EQ(SignatureHeader.ExtraText, "1");
    ASSERT_EQ(CustomExamTable.size(), 2u);
    EXPECT_TRUE(CustomExamTable[0].Save && CustomExamTable[0].Timer);
    EXPECT_EQ(CustomExamTable[0].Minutes, 45);
    EXPECT_EQ(CustomExamTable[0].Objectives->at(0), (ObjectiveCount{true, "Routing", 2, 1, 0}));
    EXPECT_EQ(CustomExamTable[1].Groups, (std::vector<std::int16_t>{11, 46}));
}

TEST_F(CustomizeTest, AZeroTotalOnlyShowsTheNoticeUntilSilenced) {
    frm_Customize* d = open("21");
    {
        const ModalWatcher watcher([](QWidget* modal) {
            auto* notice = qobject_cast<frm_Confirm*>(modal);
            ASSERT_NE(notice, nullptr);
            EXPECT_EQ(notice->Message->text(), "zero 3");
            // The notice's one button is No: nothing can start the exam from it.
            EXPECT_TRUE(notice->Yes->isHidden());
            EXPECT_EQ(notice->No->text(), "&zero 5");
            notice->Remember->setChecked(true);
            QTest::mouseClick(notice->No, Qt::LeftButton);
        });
        click(d->cmdStart);
        EXPECT_TRUE(watcher.acted());
    }
    EXPECT_TRUE(UserSettings.SkipZeroTotalNotice);
    EXPECT_TRUE(std::filesystem::exists(AppPaths::ConfigDat()));
    EXPECT_FALSE(d->cmdStart->isEnabled());
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(CurrentExam.Questions.has_value());

    click(d->chkObjectives[1]);
    EXPECT_TRUE(d->cmdStart->isEnabled());
    click(d->chkObjectives[1]);
    EXPECT_FALSE(d->cmdStart->isEnabled());
}

TEST_F(CustomizeTest, TheCustomTabRecordNeverTouchesTheFile) {
    const formats::Bytes damaged = BytesOf("not a settings file");
    WriteFile(AppPaths::CustomDat(), damaged);
    frm_Customize* d = open("21,41", CustomizeOrigin::kCustomTab);
    EXPECT_FALSE(AbortFlag);
    EXPECT_FALSE(d->chkSave->isVisibleTo(d));
    for (QCheckBox* row : d->chkObjectives)
        EXPECT_TRUE(row->isChecked());
    EXPECT_EQ(d->txtTotal->text(), "8");
    click(d->cmdStart);
    EXPECT_EQ(ExamIds().size(), 8u);
    EXPECT_EQ(ReadFile(AppPaths::CustomDat()), damaged);
}

TEST_F(CustomizeTest, OnlyADamagedFileEndsTheProgram) {
    // Codes the bank does not know, or an empty bank, show one row without questions and
    // report nothing.
    for (const std::string codes : {"150", "", "99999,x", "21"}) {
        if (codes == "21") QuestionBank.clear();
        frm_Customize* d = open(codes);
        EXPECT_EQ(d->chkObjectives.size(), 1u);
        EXPECT_EQ(d->txtTotal->text(), "0");
        delete d;
    }
    EXPECT_FALSE(AbortFlag);

    WriteFile(AppPaths::CustomDat(), BytesOf("not a settings file"));
    boxes.queue(platform::kOk);
    EXPECT_FALSE(ShowCustomizeDialog(nullptr, "21"));
    EXPECT_TRUE(AbortFlag);
    EXPECT_FALSE(std::filesystem::exists(AppPaths::CustomDat()));
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Customize"));
}

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>

#include <algorithm>

#include "DataBuilder.h"
#include "app/ProgramWindows.h"
#include "app/mdi_Main.h"
#include "browsers/DocumentPageJudge.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/QuestionBank.h"
#include "exam/CurrentExam.h"
#include "notes/NotesContextMenu.h"
#include "notes/NotesEditor.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;

namespace {

struct MainWindowTest : ::testing::Test {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    QPointer<mdi_Main> window;

    void SetUp() override {
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        SystemVars.QuitTexts.at(message_text::kMessage) = "Quit now?";
        SystemVars.QuitTexts.at(message_text::kCaption) = "Quit";
        SystemVars.ProductSubtitle = "Sub";
        DataKey = KeyOf(SystemVars);
        QuestionBank = {};
        QuestionStatsTable = {{7, 1, 2, 3, false}};
        CurrentExam = BlankExam;
        window = new mdi_Main();
        window->show();
    }
    void TearDown() override {
        AbortFlag = true;  // close without questions
        if (window) window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AbortFlag = false;
    }
    // A stand-in for a window of a later subsystem, known by its name only.
    QWidget* fakeWindow(const char* name, bool visible) {
        auto* w = new QWidget(window);
        w->setWindowFlag(Qt::Window);
        mod_Forms::Register(w, name);
        w->setVisible(visible);
        return w;
    }
};

}  // namespace

TEST_F(MainWindowTest, ShowsCaptionAndTitleLineWithoutAMaximizeBox) {
    EXPECT_EQ(window->windowTitle(), "TestPrep Simulator");
    EXPECT_EQ(window->lbl_Product->text(), "TestPrep (TP-1) Sub");
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(mod_Forms::IsFormLoaded("frm_SwitchBoard"));
    EXPECT_EQ(window->findChild<QAction*>("menuHelpAbout"), window->menuHelpAbout);
    EXPECT_EQ(window->findChild<QLabel*>("lbl_Product"), window->lbl_Product);
}

TEST_F(MainWindowTest, NotesEditorsOpenTheMainWindowsOneEditMenu) {
    ASSERT_EQ(NotesContextMenu::MainWindowMenu(), window->MyNotes_ContextMenu);
    NotesEditor editor(window);
    editor.ShowContextMenu(QPoint(5, 5));
    EXPECT_EQ(window->MyNotes_ContextMenu->Target(), &editor);
    window->MyNotes_ContextMenu->hide();
}

TEST_F(MainWindowTest, ClosingDuringAnExamOpensTheEndDialogUnlessAborting) {
    std::vector<int> reasons;
    window->SetExamEndHandler([&](int reason) { reasons.push_back(reason); });
    fakeWindow("frm_Exam", true);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(reasons, std::vector<int>{8});

    AbortFlag = true;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(reasons.size(), 1u);
    boxes.expectNone();
}

TEST_F(MainWindowTest, AHiddenEvaluationComesBackUnlessTheExamWasContinued) {
    QWidget* evaluate = fakeWindow("frm_Evaluate", false);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(evaluate->isVisible());
    boxes.expectNone();

    // Visible now: the quit question decides.
    boxes.queue(platform::kNo);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(boxes.shown(), (std::vector<ShownBox>{{"Quit now?", "Quit", 36}}));

    evaluate->hide();
    CurrentExam.Continued = true;
    boxes.queue(platform::kYes);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, UnloadDeletesTheTempFolderRewritesStatisticsAndUnloadsWindows) {
    const auto temp = AppPaths::ResourcesTempFolder();
    WriteFile(temp / "page.html", BytesOf("<html></html>"));
    const QPointer<QWidget> other = fakeWindow("frm_Viewer", true);
    boxes.queue(platform::kYes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(std::filesystem::exists(temp));
    EXPECT_TRUE(std::filesystem::exists(AppPaths::ResourceDat()));
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Viewer"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(other.isNull());
}

TEST_F(MainWindowTest, TheGeneralInformationDocumentReportsItsAbsence) {
    SystemVars.ViewerErrorTexts.at(message_text::kMessage) = "Cannot open ";
    SystemVars.ViewerErrorTexts.at(message_text::kCaption) = "Document - ";
    boxes.queue(platform::kOk);
    window->mnuVOZOvi->trigger();
    const std::string path = (AppPaths::ResourcesFolder() / "VOZOvi.dat").string();
    EXPECT_EQ(boxes.shown(),
              (std::vector<ShownBox>{{"Cannot open " + path, "Document - " + path, 16}}));
    EXPECT_FALSE(AbortFlag);
}

TEST(StartupWindowsTest, TheShippedSampleDataStartsWithoutAnyBoxAndTheSplashNeverStays) {
    TempProgramFolder folder;
    ScriptedMessageBoxes boxes;
    std::string report;
    ASSERT_TRUE(datapack::buildDataFolder(std::filesystem::path(EXAMSIM_SOURCE_DIR) / "data",
                                          AppPaths::DataFolder(), report,
                                          mod_Viewer::JudgeDocumentPage))
        << report;
    SystemVars = {};
    {
        ProgramWindows windows;
        mod_Main::Main(windows);
        boxes.expectNone();
        ASSERT_NE(windows.StartedMainWindow(), nullptr);
        EXPECT_TRUE(windows.StartedMainWindow()->isVisible());
        EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Splash"));
        EXPECT_GE(QuestionBank.size(), 150u);
        // The shipped texts name the product as the program's own captions do.
        EXPECT_EQ(windows.StartedMainWindow()->windowTitle(), "Vellacorn Exam Simulator");
        EXPECT_EQ(windows.StartedMainWindow()->menuHelpAbout->text(),
                  "About " + windows.StartedMainWindow()->windowTitle());
        EXPECT_EQ(SystemVars.ProductName, "Vellacorn");  // "Vellacorn Save File (*.sav)"
        AbortFlag = true;
        windows.StartedMainWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(windows.StartedMainWindow(), nullptr);
    }
    AbortFlag = false;

    boxes.queue(platform::kOk);
    std::filesystem::remove(AppPaths::DataDat());
    ProgramWindows failed;
    mod_Main::Main(failed);
    EXPECT_EQ(failed.StartedMainWindow(), nullptr);
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Splash"));
    const QWidgetList windowsLeft = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windowsLeft.begin(), windowsLeft.end(),
                             [](const QWidget* w) { return w->isVisible(); }));
    AbortFlag = false;
}

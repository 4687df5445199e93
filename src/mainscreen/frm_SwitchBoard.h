#pragma once

#include <QRadioButton>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/StringTable.h"
#include "evaluation/PerformanceTabControls.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QCheckBox;
class QTabWidget;
class QTextEdit;
class QToolBar;
class CustomTab;
class QuestionBrowserPage;
struct QuestionPageNames;
namespace browsers {
struct BrowserTab;
}
class ListView;
class ReadOnlyTextBox;
class TypeAheadComboBox;

// An option button of the practice sets; Tag is its group code as decimal text.
class PracticeOption : public QRadioButton {
    Q_OBJECT
public:
    explicit PracticeOption(QWidget* parent = nullptr) : QRadioButton(parent) {}

    std::string Tag;
};

// The main screen, shown inside the main window: one tab control with eight tabs (0 exam
// kinds, 1 custom exam, 2 saved exams, 3 all questions, 4 bookmarks, 5 performance,
// 6 my notes, 7 resources). Tab modules fill its controls directly, so they are public and
// carry their historic names; control arrays keep their historic indexes. The performance
// tab's controls are those its own code fills.
class frm_SwitchBoard : public QWidget, public PerformanceTabControls {
    Q_OBJECT
public:
    // The positions of SSTab1's pages.
    enum Tab : int {
        kExamsTab = 0,
        kCustomTab = 1,
        kSavedExamsTab = 2,
        kViewAllTab = 3,
        kBookmarksTab = 4,
        kPerformanceTab = 5,
        kMyNotesTab = 6,
        kResourcesTab = 7,
    };

    explicit frm_SwitchBoard(QWidget* parent = nullptr);
    ~frm_SwitchBoard() override;

    // The one main screen while it is loaded, else nullptr.
    static frm_SwitchBoard* Find();

    // Builds a tab's controls unless they are built. The exam kinds are built with the
    // screen; every other tab when it is first shown, or by this call, so its controls below
    // stay null until then.
    void BuildTab(int tab);

    // Group codes handed to the Customize dialog ("11,46", "21", a practice code, or the
    // custom tab's selection); a Start button empties it.
    std::string Tag;

    QTabWidget* SSTab1 = nullptr;
    CustomTab* CustomPage = nullptr;  // tab 1
    // One picture per tab 1 to 7; element 0 and Label15 belong on the custom page, which
    // places them itself.
    std::array<QLabel*, 7> PicLogo{};
    // Tab titles: 1 saved exams, 2 all questions, 3 performance, 4 my notes, 5 resources,
    // 8 bookmarks. Element 0 is the custom page's own; 6 and 7 do not exist.
    std::array<QLabel*, 9> lbl_Title{};
    // One line describing each of tabs 1 to 7.
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;

    // Tab 0: exam kinds.
    QGroupBox* Frame5 = nullptr;
    ReadOnlyTextBox* txt_Objectives = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* txt_Practice = nullptr;
    QWidget* PracticeButtons = nullptr;  // holds opt_Practice at the placement rule's positions
    std::vector<PracticeOption*> opt_Practice;
    QPushButton* Practice_Start = nullptr;
    QPushButton* Practice_Customize = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 3> txt_Trial{};
    QPushButton* Trial_Start = nullptr;
    QPushButton* Trial_Customize = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QLabel*, 3> txt_Diagnostic{};
    QPushButton* Diagnostic_Start = nullptr;
    QPushButton* Diagnostic_Customize = nullptr;
    QGroupBox* Frame6 = nullptr;
    std::array<QLabel*, 3> txt_Exhaustive{};
    QPushButton* Exhaustive_Start = nullptr;
    QPushButton* Exhaustive_Customize = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QLabel*, 3> txt_Final{};
    QPushButton* Final_Start = nullptr;
    QPushButton* Final_Customize = nullptr;

    // Tab 2: saved exams.
    QToolBar* Toolbar1 = nullptr;
    QLabel* Label7 = nullptr;
    ListView* ListView3 = nullptr;
    std::array<QPushButton*, 3> Command4{};
    QGroupBox* Frame7 = nullptr;
    std::array<QLabel*, 9> Label5{};
    std::array<QLabel*, 7> Label6{};  // 1 to 6
    QLineEdit* Text1 = nullptr;
    std::array<QPushButton*, 3> Command5{};  // 1 resume, 2 delete

    // Tabs 3, 4 and 6: question browsers, one page each; the names below are its controls.
    QuestionBrowserPage* ViewAllPage = nullptr;
    QuestionBrowserPage* BookmarkPage = nullptr;
    QuestionBrowserPage* MyNotesPage = nullptr;
    QTabWidget* SSTab3 = nullptr;
    QTextEdit* RichTextBox1 = nullptr;
    TypeAheadComboBox* Combo1 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QPushButton* Command14 = nullptr;
    QLabel* lbl_MyNotes = nullptr;
    QLabel* Label8 = nullptr;
    QTextEdit* MyNotes1_Contents = nullptr;
    QToolBar* MyNotes1_Toolbar = nullptr;
    ListView* ListView1 = nullptr;

    QTabWidget* SSTab4 = nullptr;
    QTextEdit* RichTextBox2 = nullptr;
    TypeAheadComboBox* Combo2 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command9 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check3 = nullptr;
    QPushButton* Command8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QTextEdit* WebBrowser2 = nullptr;
    QToolBar* Toolbar2 = nullptr;
    ListView* ListView5 = nullptr;

    QTabWidget* SSTab5 = nullptr;
    QTextEdit* RichTextBox3 = nullptr;
    TypeAheadComboBox* Combo3 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command12 = nullptr;
    QCheckBox* Check6 = nullptr;
    QCheckBox* Check5 = nullptr;
    QPushButton* Command11 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QTextEdit* WebBrowser3 = nullptr;
    QToolBar* Toolbar3 = nullptr;
    ListView* ListView6 = nullptr;

    // Tab 5: performance history (its controls in PerformanceTabControls).

    // Tab 7: resource documents, four panels.
    QGroupBox* Frame8 = nullptr;
    QLabel* Picture6 = nullptr;
    QLabel* Label22 = nullptr;
    QPushButton* Command16 = nullptr;
    QGroupBox* Frame9 = nullptr;
    QLabel* Picture8 = nullptr;
    QLabel* Label23 = nullptr;
    QPushButton* Command17 = nullptr;
    QGroupBox* Frame10 = nullptr;
    QLabel* Picture5 = nullptr;
    QLabel* Label24 = nullptr;
    QPushButton* Command18 = nullptr;
    QGroupBox* Frame11 = nullptr;
    QLabel* Picture7 = nullptr;
    QLabel* Label25 = nullptr;
    QPushButton* Command19 = nullptr;
    // Each opens its document in a viewer with the panel's caption and picture.
    void Command16_Click();
    void Command17_Click();
    void Command18_Click();
    void Command19_Click();

    // Runs after every change of the shown tab.
    void SSTab1_Click(int PreviousTab);

    void Practice_Start_Click();
    void Trial_Start_Click();
    void Diagnostic_Start_Click();
    void Exhaustive_Start_Click();
    void Final_Start_Click();
    void Practice_Customize_Click();
    void Trial_Customize_Click();
    void Diagnostic_Customize_Click();
    void Exhaustive_Customize_Click();
    void Final_Customize_Click();

    void txt_Objectives_Click();
    void txt_Objectives_MouseDown();

    void Toolbar1_ButtonClick();
    void ListView3_Click();
    void ListView3_ItemCheck();
    void Command4_Click(int Index);
    void Command5_Click(int Index);

    // The exam window is closing, before its exam is reset, and has closed: the custom tab
    // gets its bank back and the saved-exams tab shows the exam's file as it now stands.
    void ExamWindowClosing();
    void ExamWindowClosed(const std::filesystem::path& savePath);
    [[nodiscard]] bool PerformanceTabShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildExamKindsTab();
    void buildCustomTab();
    QGroupBox* buildKindFrame(const QPixmap& picture, const char* frameName,
                              std::array<QLabel*, 3>& texts, const char* textsName,
                              QPushButton*& start, const char* startName, QPushButton*& customize,
                              const char* customizeName);
    void buildSaveTab();
    void buildViewAllTab();
    void buildBookmarksTab();
    QuestionBrowserPage* addQuestionPage(QWidget* page, const browsers::BrowserTab& tab,
                                         const QuestionPageNames& names);
    void connectSaveTab();
    void connectQuestionPage(QuestionBrowserPage* page);
    void connectPerformanceTab();
    void LoadResourceCaptions();
    // The picture and the line heading a tab from 1 on.
    void LoadTabHeading(int tab);
    // The full-view button of a question tab; back on the tab, or on view all when the tab
    // has nothing left.
    void OpenFullView(QuestionBrowserPage& page);
    // Whether a main-screen tab holds a question page; the page of a tab, or null.
    static bool IsQuestionTab(int tab);
    QuestionBrowserPage* QuestionPageOf(int tab) const;
    void buildPerformanceTab();
    void buildMyNotesTab();
    void buildResourcesTab();
    QWidget* newPage(int tab, QLabel*& title, int titleIndex, QLabel*& description,
                     const char* descriptionName);

    void Form_Load();
    void Form_Unload();
    void LoadPracticeButtons();
    void PlacePracticeButton(std::size_t i);
    using KindTexts = StringTable<0, 2>;
    // Description, question count and time limit of a fixed exam kind.
    void ShowKindSummary(std::array<QLabel*, 3>& labels, const KindTexts& texts, int count,
                         std::int16_t minutes);

    PracticeOption* SelectedPractice() const;
    void StartExam(const std::string& title, std::int16_t minutes,
                   std::vector<std::int16_t> groups);
    void Customize(std::string_view groupCodes);
    void RefuseTab(const std::string& message);

    int shownTab_ = 0;
    std::array<bool, 8> tabBuilt_{};
};

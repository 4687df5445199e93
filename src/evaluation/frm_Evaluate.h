#pragma once

#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTimer;
class ListView;
class PictureButton;
class cls_ToolTipText;

// The result of the graded exam in CurrentExam: a summary beside the previous attempt of
// the same exam, one row per objective and one list row per question. Loading it puts the
// exam window into review; unloading it unloads the exam window. Tabs 1 and 2 are built on
// their first visit.
namespace mod_Evaluate {
struct ObjectiveScore;
}

class frm_Evaluate : public QWidget {
    Q_OBJECT
public:
    explicit frm_Evaluate(QWidget* parent = nullptr);
    ~frm_Evaluate() override;

    void Form_Unload();
    void button_end_Click();
    void button_feedback_Click();
    // Any mouse button on a heading box: no menu, and the focus goes to the table.
    void lbl_Evaluate_MouseDown(int index);
    void SSTab1_Click();
    void Timer2_Timer();

    // Key codes: 33 Page Up, 34 Page Down, 37 to 40 arrows.
    void Objectives_Inner_KeyDown(int keyCode);
    void Objectives_Vscroll_Change();

    void ListView1_ColumnClick(int column);
    void ListView1_DblClick();
    // Position in the list's viewport.
    void ListView1_MouseMove(const QPoint& position);

    // Frame.
    std::array<QWidget*, 1> Picture1{};
    QLabel* Picture2 = nullptr;
    QLabel* lbl_Form = nullptr;
    QLabel* txtExamType = nullptr;
    std::array<QGroupBox*, 3> Frame1{};
    QTabWidget* SSTab1 = nullptr;
    // The positions of SSTab1's pages.
    enum Tab : int { kSummaryTab = 0, kObjectiveTab = 1, kQuestionTab = 2 };
    PictureButton* button_end = nullptr;
    PictureButton* button_feedback = nullptr;
    QTimer* Timer2 = nullptr;  // hover delay

    // Summary tab: Label10 k is row k of this attempt, k + 8 of the previous one.
    std::array<QLabel*, 2> Label2{};
    std::array<QLabel*, 8> Label4{};
    std::array<QLabel*, 16> Label10{};
    QLabel* Label1 = nullptr;
    ListView* ListView2 = nullptr;  // rating legend
    QLabel* currPBouter = nullptr;
    QLabel* currPBinner = nullptr;
    QLabel* currPercentile = nullptr;
    QLabel* currPercentile2 = nullptr;

    // Per-objective tab; row k of the table is element k of each row array.
    QWidget* Objectives_Outer = nullptr;
    QWidget* Objectives_Inner = nullptr;
    QScrollBar* Objectives_Vscroll = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    std::array<QLineEdit*, 3> lbl_Evaluate{};
    std::vector<QWidget*> PicRow;
    std::vector<QLabel*> PBouter;
    std::vector<QLabel*> PBinner;
    std::vector<QLabel*> Percentile;
    std::vector<QLabel*> Percentile2;
    std::vector<QLabel*> Objective;
    std::vector<QLabel*> Remarks;
    std::vector<QFrame*> Line1;
    std::vector<QFrame*> Line2;
    std::vector<QFrame*> Line3;
    std::vector<std::string> ExamObjectives;

    // Per-question tab; elements 1 to 3 of the legend arrays are the three result icons.
    ListView* ListView1 = nullptr;
    std::array<QGroupBox*, 1> fra_Legend{};
    std::array<QLabel*, 4> img_Legend{};
    std::array<QLabel*, 4> lbl_Legend{};
    std::array<QLabel*, 6> lbl_QuestionWise{};
    std::array<QLabel*, 6> Label18{};

    std::int16_t HoverDelayCount = 0;
    bool ObjectiveTabBuilt = false;
    bool QuestionTabBuilt = false;
    std::unique_ptr<cls_ToolTipText> ListTip;
    std::int32_t ListTipRow = 0;  // question number of the last tip; 0 none

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutFrame();
    void nameControls();
    void layoutSummaryPage(QWidget* page);
    void layoutObjectivePage(QWidget* page);
    void layoutQuestionPage(QWidget* page);
    void addObjectiveRow();

    void Form_Load();
    void FillSummary();
    void BuildObjectiveTab();
    void ScoreObjectiveRow(std::size_t index, const mod_Evaluate::ObjectiveScore& score);
    void SetupObjectivesScroll();
    void FillQuestionWiseList();

    bool unloading_ = false;
};

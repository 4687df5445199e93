#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class CountPanel;
class LevelCountBox;
class RowLabel;
struct CustomExam;
struct ObjectiveCount;

// Where the dialog was opened: a Customize button of the exam kinds, or the custom-exam tab
// (whose settings live in memory only).
enum class CustomizeOrigin { kExamKind, kCustomTab };

// Loads the Customize dialog for the group codes ("21", "11,46", a practice code, or the
// custom-exam tab's selection) and shows it modally over owner. True when it started an
// exam. A damaged Data/Custom.dat ends the program (critical error, main window closed).
bool ShowCustomizeDialog(QWidget* owner, const std::string& groupCodes,
                         CustomizeOrigin origin = CustomizeOrigin::kExamKind);

// The modal dialog in which the user composes a custom exam from one exam kind: per
// objective and level how many questions, and the exam's options. Every control event
// changes the kind's remembered record at once.
class frm_Customize : public QDialog {
    Q_OBJECT
public:
    frm_Customize(QWidget* owner, std::string groupCodes, CustomizeOrigin origin);

    QLabel* PicLogo = nullptr;
    QLabel* PicLogoMain = nullptr;
    QLabel* lbl_Product = nullptr;
    QLabel* lbl_customize = nullptr;  // the dialog title

    CountPanel* Objectives = nullptr;
    QWidget* Objectives_Outer = nullptr;
    QWidget* Objectives_Inner = nullptr;
    QScrollBar* Objectives_Vscroll = nullptr;
    std::array<QLineEdit*, 4> txtLabel{};

    // One element per objective row.
    std::vector<QCheckBox*> chkObjectives;
    std::vector<RowLabel*> lblObjectives;
    std::vector<LevelCountBox*> ctrBeginner;
    std::vector<LevelCountBox*> ctrIntermediate;
    std::vector<LevelCountBox*> ctrExpert;
    std::vector<QFrame*> Line1;

    std::array<QGroupBox*, 3> Frame1{};
    QCheckBox* chkRandomize = nullptr;
    QCheckBox* chkTimer = nullptr;
    LevelCountBox* txtMinutes = nullptr;
    QLabel* lbl_minutes = nullptr;
    QCheckBox* chkSmartMode = nullptr;
    std::array<QCheckBox*, 2> chkSmart{};  // 0: wrong at least N times, 1: correct
    std::array<LevelCountBox*, 2> txtSmart{};
    std::array<QLabel*, 2> lbl_count{};
    QCheckBox* chkScore = nullptr;
    QCheckBox* chkAnswers = nullptr;
    std::array<QRadioButton*, 3> Option1{};  // answer mode 0, 1, 2
    QLabel* lblTotal = nullptr;
    QLineEdit* txtTotal = nullptr;
    QCheckBox* chkSave = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdCancel = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusBar1Panel1 = nullptr;
    QMenu* Objectives_ContextMenu = nullptr;
    QAction* mnuMaximumValue = nullptr;

    // The loading steps; afterwards AbortFlag tells whether Data/Custom.dat was damaged.
    void Form_Load();
    void Form_Activate();
    void FindCustomExamRecord(const std::string& groupCodes);
    // The total the exam would have; only while the dialog is visible.
    void UpdateTotal();

    void chkObjectives_Click(int row);
    void lblObjectives_Click(int row);
    void ctrLevel_Change(int level, int row);
    void mnuMaximumValue_Click();
    void chkRandomize_Click();
    void chkTimer_Click();
    void txtMinutes_Change();
    void chkSmartMode_Click();
    void chkSmart_Click(int k);
    void txtSmart_Change(int k);
    void chkScore_Click();
    void chkAnswers_Click();
    void Option1_Click(int k);
    void chkSave_Click();
    void txtTotal_Change();
    void cmdStart_Click();
    void cmdCancel_Click();

    [[nodiscard]] std::int16_t Code() const { return code_; }
    [[nodiscard]] int RecordIndex() const { return recordIndex_; }
    // The record being edited; nullptr once the table was emptied under the dialog.
    [[nodiscard]] CustomExam* Record();
    [[nodiscard]] bool Started() const { return started_; }
    [[nodiscard]] std::vector<LevelCountBox*>& LevelBoxes(int level);

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void nameControls();
    void buildRows();
    void restoreRemembered();
    void resetToDefaults();
    // Copies the record's selection and filters into CurrentExam and builds its questions.
    void buildExamFromRecord();
    [[nodiscard]] ObjectiveCount* rowEntry(int row);
    [[nodiscard]] int rowTotal() const;
    // The first selected answer mode, if any.
    [[nodiscard]] std::optional<std::int16_t> selectedAnswerMode() const;

    const std::string groupCodes_;
    const CustomizeOrigin origin_;
    std::vector<std::string> groups_;
    std::vector<std::string> objectives_;
    std::string title_;
    std::int16_t code_ = 0;
    int recordIndex_ = -1;
    bool started_ = false;
};

#pragma once

#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "mainscreen/mod_Customize.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class CountPanel;
class LevelCountBox;
class RowLabel;

// Tab 1 of the main screen: compose a custom exam from the exam kinds' questions, per kind
// and level. The switchboard calls Refresh when the tab is entered and Leave when it is left.
class CustomTab : public QWidget {
    Q_OBJECT
public:
    explicit CustomTab(QWidget* parent = nullptr);
    // The main screen's picture and line of this tab, put beside the title at the top.
    void PlaceHeading(QLabel* picture, QLabel* line);

    // Builds the lines on the first entry, then counts the selection again.
    void Refresh();
    // Puts the full question bank back.
    void Leave();

    QLabel* lbl_Title = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> Label1{};         // captions of the bank count and the selected total
    std::array<QLabel*, 2> Label2{};         // the bank count (once built) and the selected total
    std::array<QPushButton*, 3> Command3{};  // check all, uncheck all, every box to its maximum
    QLabel* Label4 = nullptr;
    QPushButton* Command2 = nullptr;  // on to the Customize dialog

    CountPanel* Panel = nullptr;
    QWidget* Customize_Outer = nullptr;
    QWidget* Customize_Inner = nullptr;
    QScrollBar* Customize_Vscroll = nullptr;
    std::array<QLineEdit*, 4> txtLabel{};

    // One element per line.
    std::vector<QCheckBox*> chkExam;
    std::vector<std::string> chkExamTag;  // the line's group codes
    std::vector<RowLabel*> lblExam;
    std::vector<LevelCountBox*> ctrBeginner;
    std::vector<LevelCountBox*> ctrIntermediate;
    std::vector<LevelCountBox*> ctrExpert;
    std::vector<QFrame*> Line1;

    // The main window's maximum-value menu, or the tab's own when there is no main window.
    QMenu* CustomExam_ContextMenu = nullptr;
    QAction* CustomExam_mnuMaximumValue = nullptr;

    // The codes of the checked lines joined by ",": what the Customize dialog is given.
    std::string Tag;

    void InitCustomizeTab();
    void BuildCategoryList();
    void AddCategoryLine(int index, int code, const std::string& groups,
                         const std::array<int, 3>& counts);
    void OnCategoryCheck(int index);
    void SelectAllCategories();
    void ClearAllCategories();
    void FillMaximumCounts();
    void UpdateSelectedTotal();
    void GetSelectedCategories();

    void chkExam_Click(int index);
    void lblExam_Click(int index);
    void Command3_Click(int index);
    void Command2_Click();
    void CustomExam_mnuMaximumValue_Click();

    [[nodiscard]] std::vector<mod_Customize::CategoryLine> Lines() const;
    [[nodiscard]] std::vector<LevelCountBox*>& LevelBoxes(int level);

private:
    bool built_ = false;
};

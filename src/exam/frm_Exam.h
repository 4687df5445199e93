#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QTextEdit;
class QTimer;
class QToolBar;
class ListView;
class PictureButton;
class TypeAheadComboBox;
class LcdDigit;
class LcdColon;

// The window one exam is taken in. It renders exam::CurrentExamSession and CurrentExam and
// forwards the user's events to them; the controls keep the names other windows and the
// exam modules use to reach them.
class frm_Exam : public QWidget {
    Q_OBJECT
public:
    explicit frm_Exam(QWidget* parent = nullptr);
    ~frm_Exam() override;

    // Panels: item 1 holds the status tab strip, item 2 the picture buttons.
    std::array<QWidget*, 3> PicFrame{};

    QTextEdit* RichTextBox1 = nullptr;  // question text; Tag = the shown question's id
    QTextEdit* RichTextBox2 = nullptr;  // explanation
    QTabWidget* SSTab2 = nullptr;       // 0 question, 1 explanation, 2 results

    QWidget* Choices_Outer = nullptr;
    QWidget* Choices_Inner = nullptr;
    QScrollBar* Choices_Vscroll = nullptr;
    QLabel* lbl_Choices_Type = nullptr;
    std::vector<QRadioButton*> choices_single_optionbutton;
    std::vector<QCheckBox*> choice_multiple_checkbox;
    std::vector<QLabel*> Label;
    QLineEdit* choices_fill_in_the_blanks = nullptr;
    QPushButton* Choices_Reset = nullptr;
    TypeAheadComboBox* Choices_Jump = nullptr;
    std::array<QPushButton*, 3> Choices_Previous{};
    std::array<QPushButton*, 3> Choices_Next{};
    std::array<QCheckBox*, 2> check_Review{};

    std::array<QLabel*, 2> lbl_Exam_Type{};
    std::array<QLabel*, 2> lbl_Exam_Category{};
    std::array<QLabel*, 2> lbl_Exam_Difficulty{};

    QLabel* lbl_Exam_Time_Remaining = nullptr;
    QWidget* LCD_Container = nullptr;
    QWidget* LCD_Timer = nullptr;
    std::array<LcdDigit*, 6> picDigit{};
    std::array<LcdColon*, 2> picColon{};
    QPushButton* Button_Pause_Exam = nullptr;
    QPushButton* Button_Reset_Timer = nullptr;
    QPushButton* Button_Stop_Timer = nullptr;

    PictureButton* button_end = nullptr;
    PictureButton* button_evaluate = nullptr;
    PictureButton* button_feedback = nullptr;
    PictureButton* button_notes = nullptr;
    PictureButton* button_pause = nullptr;
    PictureButton* button_review = nullptr;
    PictureButton* button_save = nullptr;

    QTimer* Timer1 = nullptr;         // exam clock
    QTimer* Timer2 = nullptr;         // hover delay
    std::array<QTimer*, 2> Timer3{};  // notes panel opening and closing slide
    QTimer* Timer4 = nullptr;         // elapsed time; runs while the exam is in progress

    QWidget* Pause_Screen = nullptr;
    QLabel* Pause_Screen_Image = nullptr;
    std::array<QLabel*, 2> txt_Pause_Screen{};
    QPushButton* Pause_Button = nullptr;

    QWidget* MyNotes = nullptr;
    QLabel* lbl_MyNotes = nullptr;
    QTextEdit* MyNotes_Contents = nullptr;
    QToolBar* MyNotes_Toolbar = nullptr;

    QTabWidget* SSTab1 = nullptr;
    ListView* ListView1 = nullptr;
    std::array<QLabel*, 3> lbl_question_back{};
    std::array<QLabel*, 3> lbl_question_status{};
    ListView* ListView2 = nullptr;

    // Hover looks and status links act only while this is above 0 (about one second after
    // the window opens or the exam resumes).
    std::int16_t HoverDelayCount = 0;
};

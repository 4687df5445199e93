#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/StringTable.h"
#include "exam/ExamSession.h"
#include "notes/mod_MyNotes.h"

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
class NotesEditor;
class cls_ToolTipText;

// The window one exam is taken in. It renders exam::CurrentExamSession and CurrentExam and
// forwards the user's events to them; the controls keep the names other windows and the
// exam modules use to reach them.
class frm_Exam : public QWidget {
    Q_OBJECT
public:
    explicit frm_Exam(QWidget* parent = nullptr);
    ~frm_Exam() override;

    // Panels: item 1 holds the status counts, item 2 the picture buttons.
    std::array<QWidget*, 3> PicFrame{};

    QTextEdit* RichTextBox1 = nullptr;    // question text
    std::string RichTextBox1Tag;          // the shown question's id; "" when none is shown
    std::int16_t ShownQuestionIndex = 0;  // where a move held back by its note returns
    QTextEdit* RichTextBox2 = nullptr;    // explanation
    QTabWidget* SSTab2 = nullptr;
    // The positions of SSTab2's pages.
    enum AnswerTab : int { kQuestionTab = 0, kExplanationTab = 1, kResultsTab = 2 };

    QWidget* Choices_Frame = nullptr;  // the answer panel with its buttons
    QWidget* Choices_Outer = nullptr;
    QWidget* Choices_Inner = nullptr;
    QScrollBar* Choices_Vscroll = nullptr;
    QLabel* lbl_Choices_Type = nullptr;
    std::string lbl_Choices_TypeTag;  // type 2: the number of correct choices
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
    QPushButton* MyNotes_Close = nullptr;
    NotesEditor* MyNotes_Editor = nullptr;
    QTextEdit* MyNotes_Contents = nullptr;  // the editor's text and toolbar
    QToolBar* MyNotes_Toolbar = nullptr;

    QWidget* StatusList_Frame = nullptr;  // SSTab1 over ListView1, in place of the answers
    QTabWidget* SSTab1 = nullptr;
    // The positions of SSTab1's pages: which questions the status list shows.
    enum StatusTab : int { kAnsweredTab = 0, kUnansweredTab = 1, kMarkedTab = 2 };
    ListView* ListView1 = nullptr;
    std::array<QLabel*, 3> lbl_question_back{};
    // The count links (answered, unanswered, marked) ...
    std::array<QLabel*, 3> lbl_question_status{};
    // ... and the same counts as plain text on the pages of SSTab1.
    std::array<QLabel*, 3> lbl_question_total{};
    ListView* ListView2 = nullptr;
    std::array<QLabel*, 4> lbl_Legend{};

    // Hover looks and status links act only while this is above 0 (about one second after
    // the window opens or the exam resumes).
    std::int16_t HoverDelayCount = 0;

    // Answer type of the shown question (1, 2, 6); 0 when no question is shown.
    int ShownAnswerType = 0;
    // Set while code puts values on the answer controls, so that only the user's changes
    // are recorded.
    bool UpdatingChoices = false;

    // The load: opens the session for CurrentExam and fills the window. False (nothing
    // opened) when CurrentExam has no question list.
    bool Form_Load(exam::ExamOpening opening, const std::filesystem::path& savePath);
    // The unload's steps up to showing the main screen again; the caller unloads the window.
    void Form_Unload();

    // Navigation and answers.
    void Choices_Next_Click(int index);
    void Choices_Previous_Click(int index);
    void Choices_Jump_Click(int entry);
    void Choices_Reset_Click();
    void check_Review_Click(int index);
    void Label_Click(int index);
    void Choices_Inner_KeyDown(int key);
    void Choices_Vscroll_Change(int value);
    // The question and explanation boxes hand the focus on to the answer panel.
    void RichTextBox_Click();
    void ClearCurrentAnswer();

    // Clock.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer(int index);
    void Timer4_Timer();
    void UpdateTimerDisplay();
    void UpdateTimerButtons();
    // Digit `number` into picDigit(index) and both colons in the colour of the word.
    void MakeNumber(int index, int number, std::string_view colour);
    [[nodiscard]] const std::string& ClockColour() const { return clockColour_; }

    // Pause screen.
    void PauseExam();
    void ResumeExam();
    [[nodiscard]] bool IsPaused() const { return isPaused_; }
    void Pause_Button_Click();

    // Picture buttons and clock buttons.
    void button_end_Click();
    void button_evaluate_Click();
    void button_feedback_Click();
    void button_notes_Click();
    void button_pause_Click();
    void button_review_Click();
    void button_save_Click();
    void Button_Pause_Exam_Click();
    void Button_Reset_Timer_Click();
    void Button_Stop_Timer_Click();
    void MyNotes_Close_Click();
    // Saves the note of the question shown; nothing while no question is shown. False when
    // it could not be saved: the note stays in the panel and a move that can be held is.
    [[nodiscard]] bool SaveShownNote(mod_MyNotes::Leaving leaving = mod_MyNotes::Leaving::kCanStay);

    // Status lists and results list.
    void lbl_question_status_Click(int index);
    void lbl_question_back_Click(int index);
    void SSTab1_Click();
    void SSTab2_Click();
    void ListView1_DblClick();
    void ListView2_DblClick();
    void ListView1_ItemCheck(int row);
    void ListView_MouseMove(ListView* list, const QPoint& position);
    // Lays the status list of tab k (0 answered, 1 unanswered, 2 marked) over the answers.
    void OpenStatusList(int tab);
    // Refills ListView1 for tab k.
    void FillStatusList(int tab);
    // A count link's look: red and bold while the mouse is over it.
    void SetStatusLinkLook(QLabel* link, bool over);

    // The end dialog with a reason (6 time up, 7 evaluate, 8 end). A time-out while another
    // box of this window is open waits until that box is closed.
    void OpenExamEnd(int reason);
    using ExamEndDialog = std::function<void(int reason)>;
    // Replaces how the end dialog is opened (tests record it); an empty one restores
    // mod_Exam::ShowExamEnd. Returns the one installed before.
    static ExamEndDialog SetExamEndDialog(ExamEndDialog dialog);

    // Creates row k's option button (type 1) or check box (type 2) and its label when they
    // do not exist yet.
    void LoadChoiceRow(std::size_t row, int answerType);
    // Answer panel layout after its controls changed or the panel was resized.
    void LayoutChoices();
    // Focus to the answer panel, or to PicFrame(2) while it is disabled.
    void HandFocusOn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class ModalScope;

    void buildQuestionTabs();
    QWidget* buildQuestionPage(int item, QTextEdit*& text);
    QWidget* buildNavigationRow(int item, QWidget* parent);
    QWidget* buildAnswerPanel();
    QWidget* buildStatusListPanel();
    QWidget* buildClockPanel();
    QWidget* buildStatusCounts();
    QWidget* buildPictureButtons();
    void buildPauseScreen();
    void buildNotesPanel();
    void connectTimers();
    void setCaptions();
    void setBackLinkLook(QLabel* link, bool over);
    void showQuestionAt(std::int16_t position);
    // Starts or stops Timer1 and Timer4 as the session's clocks run.
    void syncTimers();
    bool askClockQuestion(const StringTable<0, 6>& texts, bool& skip);
    void leaveModal();
    void placeNotesPanel(int height);

    std::string clockColour_;
    bool isPaused_ = false;
    bool unloaded_ = false;
    int modalDepth_ = 0;
    bool timeOutPending_ = false;
    std::unique_ptr<cls_ToolTipText> toolTip_;
    std::int32_t toolTipItem_ = 0;
};

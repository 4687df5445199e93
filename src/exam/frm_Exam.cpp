#include "exam/frm_Exam.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppWindows.h"
#include "core/ImageStore.h"
#include "core/ListView.h"
#include "core/NumberList.h"
#include "core/OwnIcons.h"
#include "core/PictureButton.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_ComboBox.h"
#include "core/mod_ListViewSort.h"
#include "exam/CurrentExam.h"
#include "exam/ExamTime.h"
#include "exam/ExamWindow.h"
#include "exam/LcdDigits.h"
#include "exam/mod_MyCurrentExam.h"
#include "notes/NotesEditor.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

// The note box within the notes panel's fixed width, less its margins and frames.
constexpr int kNarrowestNotes = 400;
// Answer panel geometry, in pixels.
constexpr int kChoicePad = 12;
constexpr int kChoiceGap = 10;
constexpr int kChoiceBottomMargin = 33;
constexpr int kScrollStep = 10;

constexpr int kDigitWidth = 26;
constexpr int kDigitHeight = 38;
constexpr int kColonWidth = 10;

QString itemName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QFrame* panel(QWidget* parent, const QString& name) {
    auto* frame = platform::Named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::StyledPanel);
    platform::FillBackground(frame, platform::PanelColour());
    return frame;
}

QLabel* plainLabel(QWidget* parent, const QString& name) {
    auto* label = platform::Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void makeBold(QWidget* widget, qreal scale = 1.0) {
    QFont font = widget->font();
    font.setBold(true);
    if (scale != 1.0) font.setPointSizeF(font.pointSizeF() * scale);
    widget->setFont(font);
}

QIcon slotIcon(int slot) {
    return QIcon(mod_Picture::PictureFromBytes(ImageStore[static_cast<std::size_t>(slot)].Bytes));
}

}  // namespace

frm_Exam::frm_Exam(QWidget* parent) : QWidget(parent) {
    mod_Forms::Register(this, "frm_Exam");
    platform::FillBackground(this, platform::PanelColour());

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(6);
    auto* body = new QHBoxLayout;
    body->setSpacing(6);
    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    buildQuestionTabs();
    left->addWidget(SSTab2, 3);
    left->addWidget(buildAnswerPanel(), 2);
    left->addWidget(buildStatusListPanel(), 2);
    body->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(buildClockPanel());
    right->addWidget(buildStatusCounts());
    right->addStretch(1);
    body->addLayout(right);
    root->addLayout(body, 1);
    root->addWidget(buildPictureButtons());

    buildNotesPanel();
    buildPauseScreen();
    connectTimers();
}

frm_Exam::~frm_Exam() = default;

void frm_Exam::buildQuestionTabs() {
    SSTab2 = platform::Named(new QTabWidget(this), QStringLiteral("SSTab2"));
    SSTab2->addTab(buildQuestionPage(0, RichTextBox1), QString());
    SSTab2->addTab(buildQuestionPage(1, RichTextBox2), QString());

    auto* results = new QWidget(SSTab2);
    auto* layout = new QVBoxLayout(results);
    ListView2 = platform::Named(new ListView(results), QStringLiteral("ListView2"));
    ListView2->viewport()->setMouseTracking(true);
    ListView2->viewport()->installEventFilter(this);
    layout->addWidget(ListView2, 1);
    auto* legend = new QHBoxLayout;
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            auto* icon = new QLabel(results);
            icon->setPixmap(OwnIcons::resultIcon(k).pixmap(16, 16));
            legend->addWidget(icon);
        }
        lbl_Legend[k] = plainLabel(results, itemName("lbl_Legend", k));
        legend->addWidget(lbl_Legend[k]);
        legend->addSpacing(k == 0 ? 4 : 14);
    }
    makeBold(lbl_Legend[0]);
    legend->addStretch(1);
    layout->addLayout(legend);
    layout->addWidget(buildNavigationRow(2, results));
    SSTab2->addTab(results, QString());

    connect(SSTab2, &QTabWidget::currentChanged, this, [this] { SSTab2_Click(); });
    connect(ListView2, &ListView::rowDoubleClicked, this, [this] { ListView2_DblClick(); });
    connect(ListView2, &ListView::columnClicked, this,
            [this](int column) { mod_ListViewSort::SortListViewColumn(*ListView2, column); });
}

QWidget* frm_Exam::buildQuestionPage(int item, QTextEdit*& text) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* heading = new QFrame(page);
    heading->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(heading);
    grid->setContentsMargins(8, 4, 8, 4);
    lbl_Exam_Type[item] = plainLabel(heading, itemName("lbl_Exam_Type", item));
    lbl_Exam_Difficulty[item] = plainLabel(heading, itemName("lbl_Exam_Difficulty", item));
    lbl_Exam_Category[item] = plainLabel(heading, itemName("lbl_Exam_Category", item));
    lbl_Exam_Category[item]->setWordWrap(true);
    makeBold(lbl_Exam_Type[item]);
    grid->addWidget(lbl_Exam_Type[item], 0, 0);
    grid->addWidget(lbl_Exam_Difficulty[item], 0, 1, Qt::AlignRight);
    grid->addWidget(lbl_Exam_Category[item], 1, 0, 1, 2);
    layout->addWidget(heading);

    text = platform::Named(new QTextEdit(page), item == 0 ? QStringLiteral("RichTextBox1")
                                                          : QStringLiteral("RichTextBox2"));
    text->setReadOnly(true);
    text->setAcceptRichText(false);
    text->setFocusPolicy(Qt::NoFocus);
    text->viewport()->installEventFilter(this);
    QFont font = text->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    text->setFont(font);
    layout->addWidget(text, 1);
    layout->addWidget(buildNavigationRow(item, page));
    return page;
}

QWidget* frm_Exam::buildNavigationRow(int item, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    if (item < 2) {
        check_Review[item] = platform::Named(new QCheckBox(row), itemName("check_Review", item));
        connect(check_Review[item], &QCheckBox::toggled, this, [this, item] {
            if (!UpdatingChoices) check_Review_Click(item);
        });
        layout->addWidget(check_Review[item]);
    }
    layout->addStretch(1);
    Choices_Previous[item] =
        platform::Named(new QPushButton(row), itemName("Choices_Previous", item));
    Choices_Next[item] = platform::Named(new QPushButton(row), itemName("Choices_Next", item));
    connect(Choices_Previous[item], &QPushButton::clicked, this,
            [this, item] { Choices_Previous_Click(item); });
    connect(Choices_Next[item], &QPushButton::clicked, this,
            [this, item] { Choices_Next_Click(item); });
    layout->addWidget(Choices_Previous[item]);
    layout->addWidget(Choices_Next[item]);
    return row;
}

QWidget* frm_Exam::buildAnswerPanel() {
    Choices_Frame = panel(this, QStringLiteral("Choices_Frame"));
    auto* layout = new QVBoxLayout(Choices_Frame);
    auto* scrolled = new QHBoxLayout;
    scrolled->setSpacing(0);
    Choices_Outer = platform::Named(new QFrame(Choices_Frame), QStringLiteral("Choices_Outer"));
    static_cast<QFrame*>(Choices_Outer)->setFrameShape(QFrame::StyledPanel);
    platform::FillBackground(Choices_Outer, Choices_Outer->palette().color(QPalette::Base));
    Choices_Outer->installEventFilter(this);
    Choices_Inner = platform::Named(new QWidget(Choices_Outer), QStringLiteral("Choices_Inner"));
    Choices_Inner->setFocusPolicy(Qt::StrongFocus);
    Choices_Inner->installEventFilter(this);
    lbl_Choices_Type = plainLabel(Choices_Inner, QStringLiteral("lbl_Choices_Type"));
    makeBold(lbl_Choices_Type);
    lbl_Choices_Type->hide();
    choices_fill_in_the_blanks =
        platform::Named(new QLineEdit(Choices_Inner), QStringLiteral("choices_fill_in_the_blanks"));
    choices_fill_in_the_blanks->setMaxLength(static_cast<int>(exam::kMaxFillInLength));
    choices_fill_in_the_blanks->hide();
    connect(choices_fill_in_the_blanks, &QLineEdit::textChanged, this, [this] {
        if (!UpdatingChoices) mod_MyCurrentExam::RecordAnswer();
    });
    Choices_Vscroll = platform::Named(new QScrollBar(Qt::Vertical, Choices_Frame),
                                      QStringLiteral("Choices_Vscroll"));
    Choices_Vscroll->setFocusPolicy(Qt::NoFocus);
    Choices_Vscroll->setEnabled(false);
    connect(Choices_Vscroll, &QScrollBar::valueChanged, this, &frm_Exam::Choices_Vscroll_Change);
    scrolled->addWidget(Choices_Outer, 1);
    scrolled->addWidget(Choices_Vscroll);
    layout->addLayout(scrolled, 1);

    auto* buttons = new QHBoxLayout;
    Choices_Reset =
        platform::Named(new QPushButton(Choices_Frame), QStringLiteral("Choices_Reset"));
    connect(Choices_Reset, &QPushButton::clicked, this, &frm_Exam::Choices_Reset_Click);
    Choices_Jump =
        platform::Named(new TypeAheadComboBox(Choices_Frame), QStringLiteral("Choices_Jump"));
    Choices_Jump->setMinimumWidth(110);
    connect(Choices_Jump, &QComboBox::activated, this, &frm_Exam::Choices_Jump_Click);
    buttons->addWidget(Choices_Reset);
    buttons->addStretch(1);
    buttons->addWidget(Choices_Jump);
    layout->addLayout(buttons);
    return Choices_Frame;
}

QWidget* frm_Exam::buildStatusListPanel() {
    StatusList_Frame = panel(this, QStringLiteral("StatusList_Frame"));
    auto* layout = new QVBoxLayout(StatusList_Frame);
    SSTab1 = platform::Named(new QTabWidget(StatusList_Frame), QStringLiteral("SSTab1"));
    for (int k = 0; k < 3; ++k) {
        auto* page = new QWidget(SSTab1);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(8, 2, 8, 2);
        lbl_question_total[k] = plainLabel(page, itemName("lbl_question_total", k));
        lbl_question_back[k] = plainLabel(page, itemName("lbl_question_back", k));
        lbl_question_back[k]->setCursor(Qt::PointingHandCursor);
        lbl_question_back[k]->installEventFilter(this);
        row->addWidget(lbl_question_total[k]);
        row->addStretch(1);
        row->addWidget(lbl_question_back[k]);
        SSTab1->addTab(page, QString());
    }
    SSTab1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });
    ListView1 = platform::Named(new ListView(StatusList_Frame), QStringLiteral("ListView1"));
    ListView1->setCheckBoxes(true);
    ListView1->viewport()->setMouseTracking(true);
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1, &ListView::rowDoubleClicked, this, [this] { ListView1_DblClick(); });
    connect(ListView1, &ListView::rowCheckChanged, this, &frm_Exam::ListView1_ItemCheck);
    connect(ListView1, &ListView::columnClicked, this,
            [this](int column) { mod_ListViewSort::SortListViewColumn(*ListView1, column); });
    layout->addWidget(SSTab1);
    layout->addWidget(ListView1, 1);
    SSTab1->hide();
    ListView1->hide();
    StatusList_Frame->hide();
    return StatusList_Frame;
}

QWidget* frm_Exam::buildClockPanel() {
    LCD_Container = panel(this, QStringLiteral("LCD_Container"));
    auto* layout = new QVBoxLayout(LCD_Container);
    lbl_Exam_Time_Remaining = plainLabel(LCD_Container, QStringLiteral("lbl_Exam_Time_Remaining"));
    lbl_Exam_Time_Remaining->setAlignment(Qt::AlignCenter);
    makeBold(lbl_Exam_Time_Remaining);
    layout->addWidget(lbl_Exam_Time_Remaining);

    LCD_Timer = platform::Named(new QFrame(LCD_Container), QStringLiteral("LCD_Timer"));
    static_cast<QFrame*>(LCD_Timer)->setFrameShape(QFrame::Panel);
    static_cast<QFrame*>(LCD_Timer)->setFrameShadow(QFrame::Sunken);
    platform::FillBackground(LCD_Timer, platform::PanelColour());
    auto* digits = new QHBoxLayout(LCD_Timer);
    digits->setContentsMargins(8, 6, 8, 6);
    digits->setSpacing(3);
    for (int k = 0; k < 6; ++k) {
        picDigit[k] = platform::Named(new LcdDigit(LCD_Timer), itemName("picDigit", k));
        picDigit[k]->setFixedSize(kDigitWidth, kDigitHeight);
        digits->addWidget(picDigit[k]);
        if (k == 1 || k == 3) {
            picColon[k / 2] = platform::Named(new LcdColon(LCD_Timer), itemName("picColon", k / 2));
            picColon[k / 2]->setFixedSize(kColonWidth, kDigitHeight);
            digits->addWidget(picColon[k / 2]);
        }
    }
    layout->addWidget(LCD_Timer, 0, Qt::AlignHCenter);

    Button_Pause_Exam =
        platform::Named(new QPushButton(LCD_Container), QStringLiteral("Button_Pause_Exam"));
    Button_Reset_Timer =
        platform::Named(new QPushButton(LCD_Container), QStringLiteral("Button_Reset_Timer"));
    Button_Stop_Timer =
        platform::Named(new QPushButton(LCD_Container), QStringLiteral("Button_Stop_Timer"));
    for (QPushButton* button : {Button_Pause_Exam, Button_Reset_Timer, Button_Stop_Timer}) {
        button->setIconSize(QSize(24, 22));
        layout->addWidget(button);
    }
    connect(Button_Pause_Exam, &QPushButton::clicked, this, &frm_Exam::Button_Pause_Exam_Click);
    connect(Button_Reset_Timer, &QPushButton::clicked, this, &frm_Exam::Button_Reset_Timer_Click);
    connect(Button_Stop_Timer, &QPushButton::clicked, this, &frm_Exam::Button_Stop_Timer_Click);
    return LCD_Container;
}

QWidget* frm_Exam::buildStatusCounts() {
    PicFrame[1] = panel(this, itemName("PicFrame", 1));
    auto* layout = new QVBoxLayout(PicFrame[1]);
    for (int k = 0; k < 3; ++k) {
        lbl_question_status[k] = plainLabel(PicFrame[1], itemName("lbl_question_status", k));
        lbl_question_status[k]->setCursor(Qt::PointingHandCursor);
        lbl_question_status[k]->installEventFilter(this);
        SetStatusLinkLook(lbl_question_status[k], false);
        layout->addWidget(lbl_question_status[k]);
    }
    return PicFrame[1];
}

QWidget* frm_Exam::buildPictureButtons() {
    PicFrame[2] = panel(this, itemName("PicFrame", 2));
    PicFrame[2]->setFocusPolicy(Qt::ClickFocus);
    PicFrame[2]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(PicFrame[2]);
    layout->setContentsMargins(6, 4, 6, 4);
    const auto make = [this](int pressedSlot, const char* name) {
        auto* button =
            platform::Named(new PictureButton(pressedSlot, PicFrame[2]), QLatin1String(name));
        button->setHoverAllowed([this] { return HoverDelayCount > 0; });
        return button;
    };
    button_review = make(kReviewButtonSlot, "button_review");
    button_notes = make(kNotesButtonSlot, "button_notes");
    button_feedback = make(kFeedbackButtonSlot, "button_feedback");
    button_pause = make(kPauseButtonSlot, "button_pause");
    button_save = make(kSaveButtonSlot, "button_save");
    button_evaluate = make(kEvaluateButtonSlot, "button_evaluate");
    button_end = make(kQuitButtonSlot, "button_end");
    for (PictureButton* button : {button_review, button_notes, button_feedback})
        layout->addWidget(button);
    layout->addStretch(1);
    for (PictureButton* button : {button_pause, button_save, button_evaluate, button_end})
        layout->addWidget(button);

    connect(button_review, &PictureButton::clicked, this, &frm_Exam::button_review_Click);
    connect(button_notes, &PictureButton::clicked, this, &frm_Exam::button_notes_Click);
    connect(button_feedback, &PictureButton::clicked, this, &frm_Exam::button_feedback_Click);
    connect(button_pause, &PictureButton::clicked, this, &frm_Exam::button_pause_Click);
    connect(button_save, &PictureButton::clicked, this, &frm_Exam::button_save_Click);
    connect(button_evaluate, &PictureButton::clicked, this, &frm_Exam::button_evaluate_Click);
    connect(button_end, &PictureButton::clicked, this, &frm_Exam::button_end_Click);
    return PicFrame[2];
}

void frm_Exam::buildPauseScreen() {
    Pause_Screen = platform::Named(new QWidget(this), QStringLiteral("Pause_Screen"));
    platform::FillBackground(Pause_Screen, platform::PanelColour());
    auto* layout = new QVBoxLayout(Pause_Screen);
    layout->addStretch(1);
    Pause_Screen_Image = plainLabel(Pause_Screen, QStringLiteral("Pause_Screen_Image"));
    layout->addWidget(Pause_Screen_Image, 0, Qt::AlignHCenter);
    for (int k = 0; k < 2; ++k) {
        txt_Pause_Screen[k] = plainLabel(Pause_Screen, itemName("txt_Pause_Screen", k));
        txt_Pause_Screen[k]->setAlignment(Qt::AlignCenter);
        layout->addWidget(txt_Pause_Screen[k]);
    }
    makeBold(txt_Pause_Screen[0], 1.6);
    // Holds the focus while paused so that any key reaches the cover; nothing to see.
    Pause_Button = platform::Named(new QPushButton(Pause_Screen), QStringLiteral("Pause_Button"));
    Pause_Button->setFlat(true);
    Pause_Button->setFixedSize(1, 1);
    connect(Pause_Button, &QPushButton::clicked, this, &frm_Exam::Pause_Button_Click);
    layout->addWidget(Pause_Button, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    Pause_Screen->hide();
}

void frm_Exam::buildNotesPanel() {
    MyNotes = panel(this, QStringLiteral("MyNotes"));
    static_cast<QFrame*>(MyNotes)->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(MyNotes);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* heading = new QHBoxLayout;
    lbl_MyNotes = plainLabel(MyNotes, QStringLiteral("lbl_MyNotes"));
    makeBold(lbl_MyNotes);
    MyNotes_Close = platform::Named(new QPushButton(QStringLiteral("X"), MyNotes),
                                    QStringLiteral("MyNotes_Close"));
    MyNotes_Close->setFlat(true);
    MyNotes_Close->setFixedWidth(28);
    connect(MyNotes_Close, &QPushButton::clicked, this, &frm_Exam::MyNotes_Close_Click);
    heading->addWidget(lbl_MyNotes, 1);
    heading->addWidget(MyNotes_Close);
    layout->addLayout(heading);
    // The exam window's editor has a font and colour dialog of its own.
    MyNotes_Editor = platform::Named(new NotesEditor(MyNotes, NotesEditor::Dialogs::Own),
                                     QStringLiteral("MyNotes_Editor"));
    MyNotes_Toolbar = platform::Named(MyNotes_Editor->Toolbar(), QStringLiteral("MyNotes_Toolbar"));
    MyNotes_Contents =
        platform::Named(MyNotes_Editor->Contents(), QStringLiteral("MyNotes_Contents"));
    MyNotes_Contents->setMinimumWidth(kNarrowestNotes);
    layout->addWidget(MyNotes_Editor, 1);
    MyNotes->hide();
}

void frm_Exam::connectTimers() {
    const auto make = [this](const char* name) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QLatin1String(name));
        timer->setInterval(1000);
        return timer;
    };
    Timer1 = make("Timer1");
    Timer2 = make("Timer2");
    Timer3 = {make("Timer3_0"), make("Timer3_1")};
    Timer4 = make("Timer4");
    for (QTimer* slide : Timer3)
        slide->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &frm_Exam::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frm_Exam::Timer2_Timer);
    connect(Timer3[0], &QTimer::timeout, this, [this] { Timer3_Timer(0); });
    connect(Timer3[1], &QTimer::timeout, this, [this] { Timer3_Timer(1); });
    connect(Timer4, &QTimer::timeout, this, &frm_Exam::Timer4_Timer);
}

void frm_Exam::setCaptions() {
    const auto text = [](int index) { return platform::toQt(SystemVars.ExamTexts(index)); };
    for (int k = 0; k < 2; ++k) {
        lbl_Exam_Type[k]->setText(text(exam_text::kExamLabel));
        lbl_Exam_Category[k]->setText(text(exam_text::kObjectiveLabel));
        lbl_Exam_Difficulty[k]->setText(text(exam_text::kLevelLabel));
        check_Review[k]->setText(text(exam_text::kMarkForReview));
    }
    SSTab2->setTabText(kQuestionTab, text(exam_text::kQuestion));
    Button_Reset_Timer->setText(text(exam_text::kResetClock));
    Button_Stop_Timer->setText(text(exam_text::kStopClock));
    Button_Pause_Exam->setText(text(exam_text::kPause));
    lbl_Exam_Time_Remaining->setText(text(exam_text::kTimeRemaining));
    Choices_Reset->setText(text(exam_text::kClearAnswer));
    Choices_Jump->setEditText(text(exam_text::kGoTo));
    Choices_Previous[0]->setText(text(exam_text::kPrevious));
    Choices_Next[0]->setText(text(exam_text::kNext));
    // The other pairs act alike and say the same.
    for (int k = 1; k < 3; ++k) {
        Choices_Previous[k]->setText(Choices_Previous[0]->text());
        Choices_Next[k]->setText(Choices_Next[0]->text());
    }
    txt_Pause_Screen[0]->setText(platform::toQt(SystemVars.PauseTexts(pause_text::kPaused)));
    txt_Pause_Screen[1]->setText(platform::toQt(SystemVars.PauseTexts(pause_text::kHowToResume)));
    for (int k = 0; k < 3; ++k) {
        const QString caption = platform::toQt(SystemVars.StatusTexts(k)).trimmed();
        SSTab1->setTabText(k, caption.endsWith(QLatin1Char(':')) ? caption.chopped(1) : caption);
    }
}

bool frm_Exam::Form_Load(exam::ExamOpening opening, const std::filesystem::path& savePath) {
    auto& session = exam::CurrentExamSession;
    if (!session.Open(opening, savePath)) return false;
    HoverDelayCount = 0;
    MyNotes_Editor->ShowBlankPage();

    setWindowTitle(platform::toQt(CurrentExam.Title));
    Button_Stop_Timer->setIcon(slotIcon(kStopClockImageSlot));
    Button_Pause_Exam->setIcon(slotIcon(kPauseClockImageSlot));
    Button_Reset_Timer->setIcon(slotIcon(kRestartClockImageSlot));
    setCaptions();
    Choices_Reset->setEnabled(false);

    if (session.Timed() && session.SecondsLeft() == 0) UpdateTimerButtons();
    syncTimers();
    UpdateTimerDisplay();
    if (!session.Timed())
        lbl_Exam_Time_Remaining->setText(
            platform::toQt(SystemVars.ExamTexts(exam_text::kTimeElapsed)));

    SSTab2->setTabText(kExplanationTab,
                       platform::toQt(SystemVars.ExamTabTexts(exam_tab_text::kExplanation)));
    SSTab2->setTabEnabled(kExplanationTab, CurrentExam.AnswerMode == 0);
    SSTab2->setTabVisible(kExplanationTab, CurrentExam.AnswerMode == 0);
    SSTab2->setTabEnabled(kResultsTab, CurrentExam.ShowScore);
    SSTab2->setTabVisible(kResultsTab, CurrentExam.ShowScore);
    if (CurrentExam.ShowScore)
        SSTab2->setTabText(kResultsTab, platform::toQt(CurrentExam.ScoreText));

    mod_MyCurrentExam::ShowQuestion(CurrentQuestionIndex);
    ShowNumbers(*Choices_Jump, session.QuestionCount());
    Choices_Jump->setCurrentIndex(-1);
    Choices_Jump->setEditText(platform::toQt(SystemVars.ExamTexts(exam_text::kGoTo)));
    mod_MyCurrentExam::RefreshStatusCounts();

    Timer2->start();
    AppWindows::Get().SetExamEndHandler([](int reason) {
        if (frm_Exam* window = exam::ExamWindow()) window->OpenExamEnd(reason);
    });
    return true;
}

void frm_Exam::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    for (QTimer* timer : {Timer1, Timer2, Timer3[0], Timer3[1], Timer4})
        timer->stop();
    if (!MyNotes->isHidden() && MyNotes->isEnabled())
        (void)SaveShownNote(mod_MyNotes::Leaving::kClosing);
    AppWindows::Get().ExamWindowClosing();
    if (QWidget* end = mod_Forms::Find("frm_ExamEnd")) mod_Forms::Unload(end);
    // Marks become bookmarks, Data/Resource.dat is rewritten and CurrentExam reset.
    AppWindows::Get().ExamWindowClosed(exam::CurrentExamSession.Close());
}

// Navigation ---------------------------------------------------------------------------

void frm_Exam::showQuestionAt(std::int16_t position) {
    if (position < 0 || position >= exam::CurrentExamSession.QuestionCount()) return;
    mod_MyCurrentExam::ShowQuestion(position);
}

void frm_Exam::Choices_Next_Click(int) {
    Choices_Jump->setCurrentIndex(-1);
    Choices_Jump->setEditText(platform::toQt(SystemVars.ExamTexts(exam_text::kGoTo)));
    showQuestionAt(static_cast<std::int16_t>(CurrentQuestionIndex + 1));
}

void frm_Exam::Choices_Previous_Click(int) {
    Choices_Jump->setCurrentIndex(-1);
    Choices_Jump->setEditText(platform::toQt(SystemVars.ExamTexts(exam_text::kGoTo)));
    showQuestionAt(static_cast<std::int16_t>(CurrentQuestionIndex - 1));
}

void frm_Exam::Choices_Jump_Click(int entry) {
    showQuestionAt(static_cast<std::int16_t>(Choices_Jump->itemText(entry).toInt() - 1));
}

void frm_Exam::Choices_Reset_Click() {
    ClearCurrentAnswer();
    mod_MyCurrentExam::RefreshStatusCounts();
}

void frm_Exam::ClearCurrentAnswer() {
    exam::CurrentExamSession.ClearAnswer();
    if (CurrentExam.ShowScore)
        SSTab2->setTabText(kResultsTab, platform::toQt(CurrentExam.ScoreText));
    mod_MyCurrentExam::ShowQuestion(CurrentQuestionIndex);
}

void frm_Exam::check_Review_Click(int index) {
    {
        const QScopedValueRollback updating(UpdatingChoices, true);
        check_Review[1 - index]->setChecked(check_Review[index]->isChecked());
    }
    mod_MyCurrentExam::RecordAnswer();
}

void frm_Exam::Label_Click(int index) {
    const auto k = static_cast<std::size_t>(index);
    QAbstractButton* control = nullptr;
    if (ShownAnswerType == kMultipleAnswerType && k < choice_multiple_checkbox.size())
        control = choice_multiple_checkbox[k];
    else if (ShownAnswerType == kSingleAnswerType && k < choices_single_optionbutton.size())
        control = choices_single_optionbutton[k];
    // The text of a choice acts only as far as its own box or button would.
    if (!control || control->isHidden() || !control->isEnabled()) return;
    {
        const QScopedValueRollback updating(UpdatingChoices, true);
        control->setChecked(ShownAnswerType == kSingleAnswerType || !control->isChecked());
    }
    mod_MyCurrentExam::RecordAnswer();
}

void frm_Exam::LoadChoiceRow(std::size_t row, int answerType) {
    const int k = static_cast<int>(row);
    if (answerType == kSingleAnswerType && row >= choices_single_optionbutton.size()) {
        auto* option = platform::Named(new QRadioButton(Choices_Inner),
                                       itemName("choices_single_optionbutton", k));
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked && !UpdatingChoices) mod_MyCurrentExam::RecordAnswer();
        });
        choices_single_optionbutton.push_back(option);
    }
    if (answerType == kMultipleAnswerType && row >= choice_multiple_checkbox.size()) {
        auto* box =
            platform::Named(new QCheckBox(Choices_Inner), itemName("choice_multiple_checkbox", k));
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!UpdatingChoices) mod_MyCurrentExam::RecordAnswer();
        });
        choice_multiple_checkbox.push_back(box);
    }
    if (row >= Label.size()) {
        QLabel* label = plainLabel(Choices_Inner, itemName("Label", k));
        label->setWordWrap(true);
        label->installEventFilter(this);
        Label.push_back(label);
    }
}

void frm_Exam::LayoutChoices() {
    const int width = Choices_Outer->width();
    int y = kChoicePad;
    if (!lbl_Choices_Type->isHidden()) {
        const int height = lbl_Choices_Type->sizeHint().height();
        lbl_Choices_Type->setGeometry(kChoicePad, y, width - 2 * kChoicePad, height);
        y += height + kChoiceGap;
    }
    if (!choices_fill_in_the_blanks->isHidden()) {
        const int height = choices_fill_in_the_blanks->sizeHint().height();
        choices_fill_in_the_blanks->setGeometry(kChoicePad, y, width - 2 * kChoicePad, height);
        y += height + kChoiceGap;
    }
    // The shown row controls of either kind, by row.
    std::vector<QWidget*> controls(Label.size(), nullptr);
    int controlWidth = 0;
    const auto collect = [&](const auto& array) {
        for (std::size_t k = 0; k < array.size() && k < controls.size(); ++k) {
            if (array[k]->isHidden()) continue;
            controls[k] = array[k];
            controlWidth = std::max(controlWidth, array[k]->sizeHint().width());
        }
    };
    collect(choices_single_optionbutton);
    collect(choice_multiple_checkbox);
    const int labelLeft = kChoicePad + controlWidth + 8;
    const int labelWidth = std::max(40, width - labelLeft - kChoicePad);
    for (std::size_t k = 0; k < controls.size(); ++k) {
        if (!controls[k]) continue;
        const int controlHeight = controls[k]->sizeHint().height();
        const int labelHeight = std::max(0, Label[k]->heightForWidth(labelWidth));
        controls[k]->setGeometry(kChoicePad, y, controlWidth, controlHeight);
        Label[k]->setGeometry(labelLeft, y + std::max(0, (controlHeight - labelHeight) / 2),
                              labelWidth, labelHeight);
        y += std::max(controlHeight, labelHeight) + kChoiceGap;
    }
    const int height = y + kChoiceBottomMargin;
    Choices_Inner->resize(width, height);
    const int overflow = height - Choices_Outer->height();
    Choices_Vscroll->setRange(0, std::max(0, overflow));
    Choices_Vscroll->setSingleStep(kScrollStep);
    Choices_Vscroll->setPageStep(std::max(kScrollStep, Choices_Outer->height() - kScrollStep));
    Choices_Vscroll->setEnabled(overflow > 0);
    Choices_Vscroll_Change(Choices_Vscroll->value());
}

void frm_Exam::Choices_Vscroll_Change(int value) {
    Choices_Inner->move(0, -value);
}

void frm_Exam::Choices_Inner_KeyDown(int key) {
    const int minimum = Choices_Vscroll->minimum();
    const int maximum = Choices_Vscroll->maximum();
    const int value = Choices_Vscroll->value();
    int position = value;
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            position = std::max(minimum, value - Choices_Vscroll->singleStep());
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            position = std::min(maximum, value + Choices_Vscroll->singleStep());
            break;
        case Qt::Key_PageUp:
            position = std::max(minimum, value - Choices_Vscroll->pageStep());
            break;
        case Qt::Key_PageDown:
            position = std::min(maximum, value + Choices_Vscroll->pageStep());
            break;
        default:
            break;
    }
    Choices_Vscroll->setValue(position);
}

void frm_Exam::RichTextBox_Click() {
    HandFocusOn();
}

void frm_Exam::HandFocusOn() {
    if (Choices_Inner->isEnabled())
        Choices_Inner->setFocus();
    else
        PicFrame[2]->setFocus();
}

bool frm_Exam::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == Choices_Outer && type == QEvent::Resize) {
        LayoutChoices();
    } else if (watched == Choices_Inner && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
            key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            Choices_Inner_KeyDown(key);
            return true;
        }
    } else if (type == QEvent::Wheel &&
               (watched == Choices_Outer ||
                Choices_Outer->isAncestorOf(qobject_cast<QWidget*>(watched)))) {
        // The wheel anywhere over the answers scrolls them as their scroll bar would.
        if (Choices_Vscroll->isEnabled()) QCoreApplication::sendEvent(Choices_Vscroll, event);
        return true;
    } else if ((watched == RichTextBox1->viewport() || watched == RichTextBox2->viewport()) &&
               type == QEvent::MouseButtonPress) {
        RichTextBox_Click();
    } else if (type == QEvent::MouseButtonRelease) {
        for (std::size_t k = 0; k < Label.size(); ++k)
            if (watched == Label[k]) Label_Click(static_cast<int>(k));
        for (int k = 0; k < 3; ++k) {
            if (watched == lbl_question_status[k]) lbl_question_status_Click(k);
            if (watched == lbl_question_back[k]) lbl_question_back_Click(k);
        }
    } else if (type == QEvent::Enter || type == QEvent::Leave) {
        const bool over = type == QEvent::Enter;
        for (QLabel* link : lbl_question_status)
            if (watched == link && HoverDelayCount > 0) SetStatusLinkLook(link, over);
        for (QLabel* link : lbl_question_back)
            if (watched == link) setBackLinkLook(link, over);
    } else if (type == QEvent::MouseMove) {
        for (ListView* list : {ListView1, ListView2})
            if (watched == list->viewport())
                ListView_MouseMove(list, static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void frm_Exam::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!Pause_Screen->isHidden()) Pause_Screen->setGeometry(rect());
    if (!MyNotes->isHidden()) placeNotesPanel(MyNotes->height());
}

void frm_Exam::keyReleaseEvent(QKeyEvent* event) {
    if (isPaused_)
        ResumeExam();
    else
        QWidget::keyReleaseEvent(event);
}

void frm_Exam::mouseReleaseEvent(QMouseEvent* event) {
    if (isPaused_)
        ResumeExam();
    else
        QWidget::mouseReleaseEvent(event);
}

#include "evaluation/frm_Evaluate.h"

#include <utility>

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <cmath>

#include "core/AppWindows.h"
#include "core/ImageStore.h"
#include "core/ListView.h"
#include "core/OwnIcons.h"
#include "core/PictureButton.h"
#include "core/QuestionBank.h"
#include "core/QuestionRowTip.h"
#include "core/ReadOnlyTextBox.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_Email.h"
#include "core/mod_ListViewSort.h"
#include "evaluation/ExamReviewMode.h"
#include "evaluation/mod_Evaluate.h"
#include "evaluation/mod_Performance.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/QuestionLookup.h"
#include "exam/mod_MyCurrentExam.h"
#include "platform/DateText.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

using mod_Evaluate::TwipsToPixels;

constexpr int kWindowWidth = 790;
constexpr int kWindowHeight = 436;
constexpr int kHeaderHeight = 72;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 60;

// A score bar: the outline and the full width of its filled box, in twips.
constexpr float kBarWidth = 2390.0f;
constexpr int kBarHeight = 20;
constexpr int kOuterBorder = 1;  // pixels of the table viewport's frame

// Image slots: pressed images of the two button groups, and the fixed picture.

constexpr const char* kNoValue = " - ";
constexpr std::array<const char*, 6> kBandRanges = {
    " 0% to 39% ", " 40% to 59% ", " 60% to 69% ", " 70% to 79% ", " 80% to 89% ", " 90% to 100% "};

QString q(std::string_view text) {
    return platform::toQt(text);
}

const std::string& evaluateText(int element) {
    return SystemVars.EvaluateTexts(element);
}

QLabel* plainLabel(QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    return label;
}

QFont barFont() {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    return font;
}

// A value box of the summary and per-question tabs: bordered, centred, on white.
QLabel* valueBox(QWidget* parent) {
    QLabel* box = plainLabel(parent, Qt::AlignCenter);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    box->setFont(barFont());
    platform::FillBackground(box, parent->palette().color(QPalette::Base));
    return box;
}

// The score bar's picture: a red-to-green ramp of 162 x 23 pixels, drawn unstretched from
// the box's left edge, so a narrowed box shows only its red end.
const QImage& scoreRamp() {
    static const QImage ramp = [] {
        struct Stop {
            int column;
            int red;
            int green;
            int blue;
        };
        constexpr std::array<Stop, 5> kStops = {{{0, 255, 0, 0},
                                                 {40, 255, 147, 61},
                                                 {80, 245, 255, 57},
                                                 {120, 160, 255, 52},
                                                 {161, 0, 255, 0}}};
        QImage image(162, 23, QImage::Format_RGB888);
        for (std::size_t s = 0; s + 1 < kStops.size(); ++s) {
            const Stop& from = kStops[s];
            const Stop& to = kStops[s + 1];
            for (int x = from.column; x <= to.column; ++x) {
                const double t = static_cast<double>(x - from.column) / (to.column - from.column);
                const auto mix = [t](int a, int b) {
                    return static_cast<int>(std::lround(a + (b - a) * t));
                };
                const QColor colour(mix(from.red, to.red), mix(from.green, to.green),
                                    mix(from.blue, to.blue));
                for (int y = 0; y < image.height(); ++y)
                    image.setPixelColor(x, y, colour);
            }
        }
        return image;
    }();
    return ramp;
}

QLabel* barBox(QWidget* parent) {
    QLabel* box = plainLabel(parent, Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(QPixmap::fromImage(scoreRamp()));
    return box;
}

QLabel* barText(QWidget* parent) {
    QLabel* text = plainLabel(parent, Qt::AlignCenter);
    text->setFont(barFont());
    return text;
}

QFrame* rule(QWidget* parent, const QRect& geometry) {
    auto* line = new QFrame(parent);
    platform::FillBackground(line, parent->palette().color(QPalette::Mid));
    line->setGeometry(geometry);
    return line;
}

int keyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        default:
            return 0;
    }
}

}  // namespace

frm_Evaluate::frm_Evaluate(QWidget* parent) : QWidget(parent, Qt::Window) {
    mod_Forms::Register(this, "frm_Evaluate");
    setFixedSize(kWindowWidth, kWindowHeight);
    layoutFrame();
    Form_Load();
}

frm_Evaluate::~frm_Evaluate() = default;

void frm_Evaluate::layoutFrame() {
    Picture1[0] = new QWidget(this);
    Picture1[0]->setGeometry(0, 0, kWindowWidth, kHeaderHeight);

    Picture2 = plainLabel(Picture1[0]);
    Picture2->setGeometry(8, 6, kButtonWidth, kButtonHeight);
    lbl_Form = plainLabel(Picture1[0]);
    QFont heading = lbl_Form->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    heading.setBold(true);
    lbl_Form->setFont(heading);
    lbl_Form->setGeometry(112, 6, 420, kButtonHeight);

    button_feedback = new PictureButton(kFeedbackButtonSlot, Picture1[0]);
    button_feedback->setGeometry(kWindowWidth - 2 * (kButtonWidth + 8), 6, kButtonWidth,
                                 kButtonHeight);
    button_end = new PictureButton(kQuitButtonSlot, Picture1[0]);
    button_end->setGeometry(kWindowWidth - (kButtonWidth + 8), 6, kButtonWidth, kButtonHeight);
    for (PictureButton* button : {button_feedback, button_end})
        button->setHoverAllowed([this] { return HoverDelayCount > 0; });
    connect(button_end, &PictureButton::clicked, this, &frm_Evaluate::button_end_Click);
    connect(button_feedback, &PictureButton::clicked, this, &frm_Evaluate::button_feedback_Click);

    SSTab1 = new QTabWidget(this);
    SSTab1->setGeometry(8, kHeaderHeight + 8, kWindowWidth - 16,
                        kWindowHeight - kHeaderHeight - 14);
    std::array<QWidget*, 3> pages{};
    for (QWidget*& page : pages) {
        page = new QWidget(SSTab1);
        SSTab1->addTab(page, QString());
    }
    layoutSummaryPage(pages[0]);
    layoutObjectivePage(pages[1]);
    layoutQuestionPage(pages[2]);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });

    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &frm_Evaluate::Timer2_Timer);
    nameControls();
}

void frm_Evaluate::nameControls() {
    platform::NameEach({
        {Picture2, "Picture2"},
        {lbl_Form, "lbl_Form"},
        {txtExamType, "txtExamType"},
        {SSTab1, "SSTab1"},
        {button_end, "button_end"},
        {button_feedback, "button_feedback"},
        {Timer2, "Timer2"},
        {Label1, "Label1"},
        {ListView2, "ListView2"},
        {currPBouter, "currPBouter"},
        {currPBinner, "currPBinner"},
        {currPercentile, "currPercentile"},
        {currPercentile2, "currPercentile2"},
        {Objectives_Outer, "Objectives_Outer"},
        {Objectives_Inner, "Objectives_Inner"},
        {Objectives_Vscroll, "Objectives_Vscroll"},
        {Command1, "Command1"},
        {Command2, "Command2"},
        {Command3, "Command3"},
        {ListView1, "ListView1"},
    });
    platform::NameItems(Picture1, "Picture1");
    platform::NameItems(Frame1, "Frame1");
    platform::NameItems(Label2, "Label2");
    platform::NameItems(Label4, "Label4");
    platform::NameItems(Label10, "Label10");
    platform::NameItems(lbl_Evaluate, "lbl_Evaluate");
    platform::NameItems(fra_Legend, "fra_Legend");
    platform::NameItems(img_Legend, "img_Legend");
    platform::NameItems(lbl_Legend, "lbl_Legend");
    platform::NameItems(lbl_QuestionWise, "lbl_QuestionWise");
    platform::NameItems(Label18, "Label18");
}

void frm_Evaluate::layoutSummaryPage(QWidget* page) {
    Frame1[0] = new QGroupBox(page);
    Frame1[0]->setGeometry(16, 8, 281, 46);
    txtExamType = plainLabel(Frame1[0]);
    QFont titleFont = txtExamType->font();
    titleFont.setBold(true);
    txtExamType->setFont(titleFont);
    txtExamType->setGeometry(10, 20, 261, 20);

    Frame1[1] = new QGroupBox(page);
    Frame1[1]->setGeometry(16, 62, 281, 245);
    currPBouter = plainLabel(Frame1[1]);
    currPBouter->setFrameStyle(QFrame::Box | QFrame::Plain);
    currPBouter->setGeometry(60, 28, 161, kBarHeight + 2);
    // Under the filled box: seen only where the box no longer covers it.
    currPercentile2 = barText(Frame1[1]);
    currPBinner = barBox(Frame1[1]);
    currPBinner->setGeometry(61, 29, TwipsToPixels(kBarWidth), kBarHeight);
    currPercentile = barText(currPBinner);
    currPercentile->setGeometry(0, 3, 160, 14);
    Label1 = plainLabel(Frame1[1]);
    Label1->setText(QStringLiteral("Grading System : "));
    QFont legendFont = barFont();
    legendFont.setPointSizeF(9.75);
    Label1->setFont(legendFont);
    Label1->setGeometry(16, 64, 180, 18);
    ListView2 = new ListView(Frame1[1]);
    ListView2->setGeometry(16, 86, 249, 146);
    ListView2->setSelectionMode(QAbstractItemView::NoSelection);
    ListView2->setFocusPolicy(Qt::NoFocus);

    Frame1[2] = new QGroupBox(page);
    Frame1[2]->setGeometry(312, 8, 441, 299);
    for (std::size_t column = 0; column < Label2.size(); ++column) {
        Label2[column] = plainLabel(Frame1[2], Qt::AlignCenter);
        QFont bold = Label2[column]->font();
        bold.setBold(true);
        Label2[column]->setFont(bold);
        Label2[column]->setGeometry(124 + 158 * static_cast<int>(column), 20, 148, 18);
    }
    for (std::size_t row = 0; row < Label4.size(); ++row) {
        const int top = 44 + 31 * static_cast<int>(row);
        Label4[row] = plainLabel(Frame1[2]);
        Label4[row]->setGeometry(10, top, 112, 21);
        Label10[row] = valueBox(Frame1[2]);
        Label10[row]->setGeometry(124, top, 148, 21);
        Label10[row + 8] = valueBox(Frame1[2]);
        Label10[row + 8]->setGeometry(282, top, 148, 21);
    }
}

void frm_Evaluate::layoutObjectivePage(QWidget* page) {
    const int viewWidth = TwipsToPixels(10815);
    const int viewHeight = TwipsToPixels(mod_Evaluate::kObjectivesOuterHeight);
    auto* border = new QFrame(page);
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    border->setGeometry(16 - kOuterBorder, 8 - kOuterBorder, viewWidth + 2 * kOuterBorder,
                        viewHeight + 2 * kOuterBorder);
    Objectives_Outer = new QWidget(border);
    Objectives_Outer->setGeometry(kOuterBorder, kOuterBorder, viewWidth, viewHeight);
    platform::FillBackground(Objectives_Outer, palette().color(QPalette::Base));

    Objectives_Inner = new QWidget(Objectives_Outer);
    Objectives_Inner->setGeometry(0, 0, viewWidth,
                                  TwipsToPixels(mod_Evaluate::kObjectivesInnerDesignHeight));
    Objectives_Inner->setFocusPolicy(Qt::StrongFocus);
    platform::FillBackground(Objectives_Inner, palette().color(QPalette::Base));
    Objectives_Inner->installEventFilter(this);

    Objectives_Vscroll = new QScrollBar(Qt::Vertical, page);
    Objectives_Vscroll->setGeometry(16 + viewWidth + kOuterBorder, 8, 17, viewHeight);
    Objectives_Vscroll->setFocusPolicy(Qt::NoFocus);  // the keys belong to the table
    connect(Objectives_Vscroll, &QScrollBar::valueChanged, this,
            &frm_Evaluate::Objectives_Vscroll_Change);

    // Raised heading cells with a read-only text lying on each.
    Command1 = new QPushButton(Objectives_Inner);
    Command1->setGeometry(0, 0, 184, 25);
    Command2 = new QPushButton(Objectives_Inner);
    Command2->setGeometry(183, 0, 433, 25);
    Command3 = new QPushButton(Objectives_Inner);
    Command3->setGeometry(615, 0, 106, 25);
    const std::array<QRect, 3> headings = {QRect(8, 4, 169, 17), QRect(192, 4, 417, 17),
                                           QRect(618, 4, 97, 17)};
    for (std::size_t k = 0; k < lbl_Evaluate.size(); ++k) {
        lbl_Evaluate[k] = new QLineEdit(Objectives_Inner);
        lbl_Evaluate[k]->setGeometry(headings[k]);
        lbl_Evaluate[k]->setReadOnly(true);
        lbl_Evaluate[k]->setFrame(false);
        lbl_Evaluate[k]->setAlignment(Qt::AlignCenter);
        lbl_Evaluate[k]->setFocusPolicy(Qt::NoFocus);
        QPalette grey = lbl_Evaluate[k]->palette();
        grey.setColor(QPalette::Base, QColor(224, 224, 224));
        lbl_Evaluate[k]->setPalette(grey);
        SuppressContextMenu(lbl_Evaluate[k]);
        lbl_Evaluate[k]->installEventFilter(this);
    }
    for (QPushButton* cell : {Command1, Command2, Command3}) {
        cell->setFocusPolicy(Qt::NoFocus);
        cell->lower();
    }
    addObjectiveRow();
}

void frm_Evaluate::addObjectiveRow() {
    const auto k = static_cast<std::int32_t>(PicRow.size());
    auto* row = new QWidget(Objectives_Inner);
    row->setGeometry(0,
                     TwipsToPixels(mod_Evaluate::kObjectiveFirstRowTop +
                                   static_cast<double>(k) * mod_Evaluate::kObjectiveRowHeight),
                     Objectives_Inner->width(), TwipsToPixels(mod_Evaluate::kObjectiveRowHeight));
    platform::FillBackground(row, Qt::white);

    QLabel* outline = plainLabel(row);
    outline->setFrameStyle(QFrame::Box | QFrame::Plain);
    outline->setGeometry(10, 11, 161, kBarHeight + 2);
    QLabel* under = barText(row);
    under->setGeometry(11, 15, 160, 14);
    QLabel* filled = barBox(row);
    filled->setGeometry(11, 12, TwipsToPixels(kBarWidth), kBarHeight);
    QLabel* over = barText(filled);
    over->setGeometry(0, 3, 160, 14);
    QLabel* objective = plainLabel(row);
    objective->setGeometry(192, 10, 410, 22);
    QLabel* remarks = plainLabel(row);
    remarks->setGeometry(620, 10, 97, 22);

    const auto name = [k](QObject* control, const char* array) {
        control->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(k));
    };
    name(row, "PicRow");
    name(outline, "PBouter");
    name(under, "Percentile2");
    name(filled, "PBinner");
    name(over, "Percentile");
    name(objective, "Objective");
    name(remarks, "Remarks");
    PicRow.push_back(row);
    PBouter.push_back(outline);
    Percentile2.push_back(under);
    PBinner.push_back(filled);
    Percentile.push_back(over);
    Objective.push_back(objective);
    Remarks.push_back(remarks);
    Line1.push_back(rule(row, QRect(0, 40, 720, 1)));
    Line2.push_back(rule(row, QRect(182, 0, 1, 41)));
    Line3.push_back(rule(row, QRect(614, 0, 1, 41)));
    name(Line1.back(), "Line1");
    name(Line2.back(), "Line2");
    name(Line3.back(), "Line3");
    row->show();
}

void frm_Evaluate::layoutQuestionPage(QWidget* page) {
    ListView1 = new ListView(page);
    ListView1->setGeometry(16, 8, 500, 299);
    ListView1->viewport()->setMouseTracking(true);
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1, &ListView::columnClicked, this, &frm_Evaluate::ListView1_ColumnClick);
    connect(ListView1, &ListView::rowDoubleClicked, this, [this] { ListView1_DblClick(); });

    constexpr int kRight = 754;
    for (std::size_t k = 0; k < Label18.size(); ++k) {
        const int top = 8 + 30 * static_cast<int>(k);
        // The last box is the widest; the right edges line up.
        const int width = k == 5 ? 133 : 97;
        lbl_QuestionWise[k] = plainLabel(page);
        lbl_QuestionWise[k]->setGeometry(530, top, kRight - width - 534, 21);
        Label18[k] = valueBox(page);
        Label18[k]->setGeometry(kRight - width, top, width, 21);
    }
    fra_Legend[0] = new QGroupBox(page);
    fra_Legend[0]->setGeometry(530, 196, kRight - 530, 111);
    for (int k = 1; k <= 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        img_Legend[i] = plainLabel(fra_Legend[0]);
        img_Legend[i]->setPixmap(OwnIcons::resultIcon(k).pixmap(16, 16));
        img_Legend[i]->setGeometry(14, 2 + 26 * k, 16, 16);
        lbl_Legend[i] = plainLabel(fra_Legend[0]);
        lbl_Legend[i]->setGeometry(38, 26 * k, 170, 20);
    }
}

void frm_Evaluate::Form_Load() {
    platform::FillBackground(Picture1[0], platform::PanelColour());
    SSTab1->setCurrentIndex(kSummaryTab);
    mod_Evaluate::SetExamReviewMode();
    lbl_Form->setText(q(evaluateText(evaluate_text::kWindowTitle)));
    setWindowTitle(lbl_Form->text());
    button_feedback->showLook(PictureButton::Look::Normal);
    button_end->showLook(PictureButton::Look::Normal);
    Picture2->setPixmap(
        mod_Picture::PictureFromBytes(ImageStore[kEvaluateButtonSlot + kNormalLookOffset].Bytes));
    for (int tab = 0; tab < 3; ++tab)
        SSTab1->setTabText(tab, q(evaluateText(evaluate_text::kFirstTab + tab)));
    Frame1[0]->setTitle(q(evaluateText(evaluate_text::kExamFrame)));
    Frame1[1]->setTitle(q(evaluateText(evaluate_text::kScoreFrame)));
    Frame1[2]->setTitle(q(evaluateText(evaluate_text::kComparisonFrame)));
    txtExamType->setText(q(CurrentExam.Title));
    FillSummary();
    Timer2->start();
}

void frm_Evaluate::FillSummary() {
    Label2[0]->setText(q(evaluateText(evaluate_text::kThisAttempt)));
    Label2[1]->setText(q(evaluateText(evaluate_text::kPreviousAttempt)));

    ListView2->clearColumns();
    ListView2->addColumn(evaluateText(evaluate_text::kBandRangeColumn));
    ListView2->addColumn(evaluateText(evaluate_text::kBandRatingColumn));
    ListView2->clear();
    std::vector<ListRow> bands;
    for (std::size_t k = 0; k < kBandRanges.size(); ++k)
        bands.push_back(ListRow{
            {kBandRanges[k], evaluateText(evaluate_text::kFirstRating + static_cast<int>(k))},
            "a" + std::to_string(k + 1),
            false,
            {}});
    ListView2->addRows(bands);
    ListView2->autoSizeColumn(0, false);
    ListView2->autoSizeColumn(1, true);
    // Just tall enough for the six bands.
    ListView2->resize(ListView2->width(), ListView2->header()->sizeHint().height() +
                                              6 * ListView2->sizeHintForRow(0) +
                                              2 * ListView2->frameWidth());

    const std::int32_t correct = CurrentExam.Correct;
    const std::int32_t total = CurrentExam.Total;
    const QString bar = q(mod_Evaluate::ScoreText(correct, total));
    currPercentile->setText(bar);
    currPercentile2->setText(bar);
    currPercentile2->setGeometry(currPBinner->x() + currPercentile->x(),
                                 currPBinner->y() + currPercentile->y(), currPercentile->width(),
                                 currPercentile->height());
    currPBinner->resize(TwipsToPixels(mod_Evaluate::FilledWidth(kBarWidth, correct, total)),
                        currPBinner->height());

    for (std::size_t row = 0; row < Label4.size(); ++row)
        Label4[row]->setText(
            q(evaluateText(evaluate_text::kFirstSummaryRow + static_cast<int>(row))));
    Label10[0]->setText(QString::fromLatin1(kNoValue));
    Label10[1]->setText(q(CurrentExam.ElapsedText));
    Label10[2]->setText(QString::number(CurrentExam.Total));
    Label10[3]->setText(QString::number(CurrentExam.Correct));
    Label10[4]->setText(QString::number(CurrentExam.Wrong));
    Label10[5]->setText(QString::number(CurrentExam.Unanswered));
    Label10[6]->setText(q(CurrentExam.PercentText));
    Label10[7]->setText(q(mod_Evaluate::ScoreRating(correct, total)));
    for (std::size_t k = 8; k < Label10.size(); ++k)
        Label10[k]->setText(QString::fromLatin1(kNoValue));

    if (auto records = mod_Evaluate::ReadIndexForSummary()) {
        PerformanceHistory = std::move(*records);
        const auto attempts = mod_Evaluate::FindAttempts(PerformanceHistory, CurrentExam);
        if (attempts.previous) {
            const PerformanceSummary& previous = PerformanceHistory[*attempts.previous];
            Label10[8]->setText(platform::GeneralDateText(previous.SavedAt));
            Label10[9]->setText(q(previous.ElapsedText));
            Label10[10]->setText(QString::number(previous.Total));
            Label10[11]->setText(QString::number(previous.Correct));
            Label10[12]->setText(QString::number(previous.Wrong));
            Label10[13]->setText(QString::number(previous.Unanswered));
            Label10[14]->setText(q(previous.PercentText));
            Label10[15]->setText(q(mod_Evaluate::ScoreRating(previous.Correct, previous.Total)));
        }
        if (attempts.own)
            Label10[0]->setText(
                platform::GeneralDateText(PerformanceHistory[*attempts.own].SavedAt));
    }
    // The main screen keeps the history loaded while its performance tab is shown.
    if (!AppWindows::Get().PerformanceTabShown()) PerformanceHistory.clear();
    // Beside its caption, the rating word of the attempt.
    Label18[5]->setText(Label10[7]->text());
}

void frm_Evaluate::SSTab1_Click() {
    const int tab = SSTab1->currentIndex();
    if (tab == kObjectiveTab && !ObjectiveTabBuilt) {
        BuildObjectiveTab();
        ObjectiveTabBuilt = true;
    }
    if (tab == kQuestionTab && !QuestionTabBuilt) {
        Label18[0]->setText(QString::number(CurrentExam.Total));
        Label18[1]->setText(QString::number(CurrentExam.Correct));
        Label18[2]->setText(QString::number(CurrentExam.Wrong));
        Label18[3]->setText(QString::number(CurrentExam.Unanswered));
        Label18[4]->setText(q(CurrentExam.PercentText));
        FillQuestionWiseList();
        QuestionTabBuilt = true;
    }
}

void frm_Evaluate::BuildObjectiveTab() {
    for (std::size_t k = 0; k < lbl_Evaluate.size(); ++k)
        lbl_Evaluate[k]->setText(
            q(evaluateText(evaluate_text::kFirstObjectiveHeading + static_cast<int>(k))));
    ExamObjectives = mod_Evaluate::BuildObjectiveList();
    const std::vector<mod_Evaluate::ObjectiveScore> scores =
        mod_Evaluate::ScoreObjectives(ExamObjectives);
    for (std::size_t k = 0; k < ExamObjectives.size(); ++k) {
        if (k >= PicRow.size()) addObjectiveRow();
        ScoreObjectiveRow(k, scores[k]);
        Objective[k]->setText(q(ExamObjectives[k]));
    }
    Objectives_Inner->resize(
        Objectives_Inner->width(),
        TwipsToPixels(mod_Evaluate::ObjectivesInnerHeight(ExamObjectives.size())));
    SetupObjectivesScroll();
}

void frm_Evaluate::ScoreObjectiveRow(std::size_t index, const mod_Evaluate::ObjectiveScore& score) {
    const QString text = q(mod_Evaluate::ScoreText(score.correct, score.total));
    Percentile[index]->setText(text);
    Percentile2[index]->setText(text);
    PBinner[index]->resize(
        TwipsToPixels(mod_Evaluate::FilledWidth(kBarWidth, score.correct, score.total)),
        PBinner[index]->height());
    Remarks[index]->setText(q(mod_Evaluate::ScoreRating(score.correct, score.total)));
}

void frm_Evaluate::SetupObjectivesScroll() {
    Objectives_Inner->move(0, 0);
    const mod_Evaluate::ObjectivesScroll scroll = mod_Evaluate::SetupObjectivesScroll(
        mod_Evaluate::ObjectivesInnerHeight(ExamObjectives.size()),
        mod_Evaluate::kObjectivesOuterHeight);
    const QSignalBlocker quiet(Objectives_Vscroll);
    Objectives_Vscroll->setRange(scroll.min, scroll.max);
    if (scroll.enabled) {
        Objectives_Vscroll->setValue(scroll.value);
        Objectives_Vscroll->setVisible(true);
        Objectives_Vscroll->setEnabled(true);
        Objectives_Vscroll->setSingleStep(scroll.smallChange);
        Objectives_Vscroll->setPageStep(scroll.largeChange);
    } else {
        Objectives_Vscroll->setEnabled(false);
    }
}

void frm_Evaluate::Objectives_Inner_KeyDown(int keyCode) {
    mod_Evaluate::ObjectivesScroll scroll;
    scroll.min = Objectives_Vscroll->minimum();
    scroll.max = Objectives_Vscroll->maximum();
    scroll.value = Objectives_Vscroll->value();
    scroll.smallChange = Objectives_Vscroll->singleStep();
    scroll.largeChange = Objectives_Vscroll->pageStep();
    scroll.enabled = Objectives_Vscroll->isEnabled();
    {
        const QSignalBlocker quiet(Objectives_Vscroll);
        Objectives_Vscroll->setValue(mod_Evaluate::ScrollValueAfterKey(scroll, keyCode));
    }
    Objectives_Vscroll_Change();
    Objectives_Vscroll->update();
}

void frm_Evaluate::Objectives_Vscroll_Change() {
    Objectives_Inner->move(0, -TwipsToPixels(Objectives_Vscroll->value()));
}

void frm_Evaluate::lbl_Evaluate_MouseDown(int) {
    Objectives_Inner->setFocus();
}

void frm_Evaluate::FillQuestionWiseList() {
    fra_Legend[0]->setTitle(q(SystemVars.ResultTexts(result_text::kLegend)));
    for (int k = 1; k <= 3; ++k)
        lbl_Legend[static_cast<std::size_t>(k)]->setText(q(SystemVars.ResultTexts(k)));
    for (std::size_t k = 0; k < lbl_QuestionWise.size(); ++k)
        lbl_QuestionWise[k]->setText(
            q(evaluateText(evaluate_text::kFirstQuestionFigure + static_cast<int>(k))));

    mod_ListViewSort::ResetListViewSort(*ListView1);
    ListView1->clearColumns();
    ListView1->addColumn("", 96, "5");  // question numbers sort as numbers
    ListView1->addColumn(SystemVars.QuestionListTexts(question_list_text::kObjectiveColumn));
    ListView1->addColumn(SystemVars.QuestionListTexts(question_list_text::kQuestionColumn));
    ListView1->clear();
    constexpr int kObjectiveColumn = 1;
    ListView1->setTextSource({kObjectiveColumn, kObjectiveColumn + 1},
                             [](std::int32_t id, int column) -> std::string_view {
                                 const QuestionRecord* question = exam::FindQuestion(id);
                                 if (!question) return {};
                                 return column == kObjectiveColumn ? question->Topic
                                                                   : question->QuestionText;
                             });

    const std::vector<mod_Evaluate::QuestionResult> results = mod_Evaluate::QuestionResults();
    {
        ListRowBatch batch(*ListView1);
        for (const mod_Evaluate::QuestionResult& result : results)
            batch.add(ListRow{{std::to_string(result.position + 1), {}, {}},
                              "a" + std::to_string(result.position),
                              false,
                              OwnIcons::resultIcon(static_cast<int>(result.icon)),
                              QuestionBank[result.bankIndex].QuestionID});
    }
    const bool fewRows = results.size() < 17;
    ListView1->autoSizeColumn(0, false);
    ListView1->autoSizeColumn(1, true);
    // Room for the vertical scroll bar once the list holds more rows than it shows.
    const int used =
        ListView1->columnWidth(0) + ListView1->columnWidth(1) + TwipsToPixels(fewRows ? 75 : 350);
    ListView1->setColumnWidth(2, std::max(0, ListView1->width() - used));
}

void frm_Evaluate::ListView1_ColumnClick(int column) {
    mod_ListViewSort::SortListViewColumn(*ListView1, column);
}

void frm_Evaluate::ListView1_DblClick() {
    const int row = ListView1->currentRow();
    // An empty list (an exam of no bank question) has nothing to show.
    if (row < 0) return;
    const std::int32_t number = ListView1->rowNumber(row);
    const auto count = CurrentExam.Questions ? std::ssize(*CurrentExam.Questions) : 0;
    exam::ShowQuestionFromList(number > 0 && number <= count ? number - 1 : -1);
    hide();
    exam::RaiseExamWindow();
}

void frm_Evaluate::ListView1_MouseMove(const QPoint& position) {
    const int row = ListView1->rowAt(position);
    if (row < 0) return;
    const std::int32_t number = ListView1->rowNumber(row);
    if (number == ListTipRow) return;
    ListTipRow = number;
    const auto found = mod_Evaluate::FindQuestionByText(ListView1->text(row, 2));
    ShowQuestionRowTip(ListTip, ListView1, found ? &QuestionBank[*found] : nullptr);
}

void frm_Evaluate::Timer2_Timer() {
    ++HoverDelayCount;
    if (HoverDelayCount > 1) Timer2->stop();
}

void frm_Evaluate::button_end_Click() {
    Form_Unload();
}

void frm_Evaluate::button_feedback_Click() {
    button_feedback->showLook(PictureButton::Look::Pressed);
    mod_Email::SendEmail(
        SystemVars.FeedbackEmail, SystemVars.SupportEmail, "",
        SystemVars.FeedbackSubject + SystemVars.ProductCode + "  Evaluate & Grade ", "");
    button_feedback->showLook(PictureButton::Look::Normal);
}

void frm_Evaluate::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    Timer2->stop();
    exam::UnloadExamWindow();
    mod_Forms::Unload(this);
}

void frm_Evaluate::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool frm_Evaluate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched == Objectives_Inner) {
                if (const int code = keyCodeOf(static_cast<QKeyEvent*>(event)->key())) {
                    Objectives_Inner_KeyDown(code);
                    return true;
                }
            }
            break;
        case QEvent::MouseMove:
            if (watched == ListView1->viewport())
                ListView1_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            for (std::size_t k = 0; k < lbl_Evaluate.size(); ++k) {
                if (watched == lbl_Evaluate[k]) {
                    lbl_Evaluate_MouseDown(static_cast<int>(k));
                    return true;  // no caret and no selection in a heading
                }
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// Controls and geometry of the main screen's tabs.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "browsers/QuestionBrowserPage.h"
#include "browsers/mod_Bookmark.h"
#include "browsers/mod_MyNotesTab.h"
#include "browsers/mod_ViewAllQuestions.h"
#include "core/ImageStore.h"
#include "core/ListView.h"
#include "core/ReadOnlyTextBox.h"
#include "core/mod_ComboBox.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "platform/Look.h"
#include "platform/mod_Picture.h"

namespace {

// The exam-instructions picture marks the exam kinds; the revision-notes picture the documents.
constexpr int kPictureSize = 48;

QLabel* makeLabel(QWidget* parent, const QString& name, bool wrap = false) {
    auto* label = platform::Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

// Tab pages take the panel colour the interface pictures are drawn on.
QWidget* newPanel(QWidget* parent) {
    auto* page = new QWidget(parent);
    platform::FillBackground(page);
    return page;
}

// A strip of practice buttons that scrolls sideways once it is wider than the frame; its
// height follows, so no empty band is kept for the scroll bar.
class PracticeStrip : public QScrollArea {
public:
    explicit PracticeStrip(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(false);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override {
        const QWidget* strip = widget();
        if (!strip) return 0;
        const bool scrolls = strip->width() > width;
        return strip->height() + (scrolls ? horizontalScrollBar()->sizeHint().height() : 0);
    }
    [[nodiscard]] QSize sizeHint() const override {
        const int width = widget() ? widget()->width() : 0;
        return {width, heightForWidth(width)};
    }
    [[nodiscard]] QSize minimumSizeHint() const override { return {0, heightForWidth(0)}; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::Resize) updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

QPixmap framePicture(int slot) {
    const QPixmap pixmap = mod_Picture::PictureFromBytes(ImageStore[slot].Bytes);
    if (pixmap.isNull()) return pixmap;
    return pixmap.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QLabel* makePicture(QWidget* parent, const QString& name, const QPixmap& picture) {
    auto* label = platform::Named(new QLabel(parent), name);
    if (!picture.isNull()) label->setPixmap(picture);
    label->setFixedSize(kPictureSize, kPictureSize);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A button whose text keeps the style's button margin from the frame on either side: Qt's
// own hint counts that margin once for both sides, so a long bold text fills its button.
class PaddedButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    [[nodiscard]] QSize sizeHint() const override {
        return QPushButton::sizeHint() +
               QSize(style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this), 0);
    }
};

QPushButton* makeButton(QWidget* parent, const QString& name, bool primary = false) {
    auto* button = platform::Named(new PaddedButton(parent), name);
    button->setMinimumWidth(90);
    if (primary) {
        QFont bold = button->font();
        bold.setBold(true);
        button->setFont(bold);
    }
    return button;
}

void emphasise(QLabel* label, double scale) {
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
}

// Text colour a shade towards the frame's accent, for the count and time lines.
void accent(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(31, 78, 121));
    label->setPalette(palette);
    emphasise(label, 1.0);
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

ListView* makeList(QWidget* parent, const QString& name) {
    return platform::Named(new ListView(parent), name);
}

QToolBar* makeToolBar(QWidget* parent, const QString& name) {
    auto* bar = platform::Named(new QToolBar(parent), name);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return bar;
}

}  // namespace

QWidget* frm_SwitchBoard::newPage(int tab, QLabel*& title, int titleIndex, QLabel*& description,
                                  const char* descriptionName) {
    QWidget* holder = SSTab1->widget(tab);
    auto* page = newPanel(holder);
    holder->layout()->addWidget(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 10, 12, 10);

    const auto logo = static_cast<std::size_t>(tab - 1);
    PicLogo[logo] = platform::Named(new QLabel(page), QStringLiteral("PicLogo%1").arg(logo));
    PicLogo[logo]->setFixedSize(64, 64);
    title = makeLabel(page, QStringLiteral("lbl_Title%1").arg(titleIndex));
    emphasise(title, 1.4);
    description = makeLabel(page, QLatin1String(descriptionName), true);

    auto* header = new QHBoxLayout;
    header->addWidget(PicLogo[logo]);
    auto* words = new QVBoxLayout;
    words->addStretch(1);
    words->addWidget(title);
    words->addWidget(description);
    words->addStretch(1);
    header->addLayout(words, 1);
    layout->addLayout(header);
    return page;
}

void frm_SwitchBoard::buildExamKindsTab() {
    // Every exam kind shows the same picture: decoded and scaled once.
    const QPixmap picture = framePicture(kExamInstructionsImageSlot);
    auto* page = newPanel(SSTab1);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(12);

    Frame5 = platform::Named(new QGroupBox(page), QStringLiteral("Frame5"));
    txt_Objectives = platform::Named(new ReadOnlyTextBox(Frame5), QStringLiteral("txt_Objectives"));
    txt_Objectives->viewport()->installEventFilter(this);
    auto* objectives = new QVBoxLayout(Frame5);
    objectives->addWidget(txt_Objectives);
    layout->addWidget(Frame5, 2);

    auto* kinds = new QVBoxLayout;
    kinds->setSpacing(12);

    Frame3 = platform::Named(new QGroupBox(page), QStringLiteral("Frame3"));
    txt_Practice = makeLabel(Frame3, QStringLiteral("txt_Practice"), true);
    PracticeButtons = platform::Named(new QWidget, QStringLiteral("PracticeButtons"));
    opt_Practice.push_back(platform::Named(new PracticeOption(PracticeButtons), "opt_Practice0"));
    auto* scroll = new PracticeStrip(Frame3);
    scroll->setWidget(PracticeButtons);
    // The strip shows the frame through it.
    PracticeButtons->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    Practice_Start = makeButton(Frame3, QStringLiteral("Practice_Start"), true);
    Practice_Customize = makeButton(Frame3, QStringLiteral("Practice_Customize"));
    auto* practice = new QGridLayout(Frame3);
    practice->addWidget(makePicture(Frame3, QStringLiteral("PracticePicture"), picture), 0, 0, 2, 1,
                        Qt::AlignTop);
    practice->addWidget(txt_Practice, 0, 1);
    practice->addWidget(scroll, 1, 1);
    practice->addLayout(buttonRow({Practice_Customize, Practice_Start}), 2, 0, 1, 2);
    practice->setColumnStretch(1, 1);
    kinds->addWidget(Frame3);

    Frame1 = buildKindFrame(picture, "Frame1", txt_Trial, "txt_Trial", Trial_Start, "Trial_Start",
                            Trial_Customize, "Trial_Customize");
    Frame2 = buildKindFrame(picture, "Frame2", txt_Diagnostic, "txt_Diagnostic", Diagnostic_Start,
                            "Diagnostic_Start", Diagnostic_Customize, "Diagnostic_Customize");
    Frame6 = buildKindFrame(picture, "Frame6", txt_Exhaustive, "txt_Exhaustive", Exhaustive_Start,
                            "Exhaustive_Start", Exhaustive_Customize, "Exhaustive_Customize");
    Frame4 = buildKindFrame(picture, "Frame4", txt_Final, "txt_Final", Final_Start, "Final_Start",
                            Final_Customize, "Final_Customize");
    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    grid->addWidget(Frame1, 0, 0);
    grid->addWidget(Frame2, 0, 1);
    grid->addWidget(Frame6, 1, 0);
    grid->addWidget(Frame4, 1, 1);
    kinds->addLayout(grid, 1);
    layout->addLayout(kinds, 5);
    SSTab1->addTab(page, QString());
}

QGroupBox* frm_SwitchBoard::buildKindFrame(const QPixmap& picture, const char* frameName,
                                           std::array<QLabel*, 3>& texts, const char* textsName,
                                           QPushButton*& start, const char* startName,
                                           QPushButton*& customize, const char* customizeName) {
    auto* frame = platform::Named(new QGroupBox(this), QLatin1String(frameName));
    for (std::size_t k = 0; k < texts.size(); ++k)
        texts[k] =
            makeLabel(frame, QStringLiteral("%1%2").arg(QLatin1String(textsName)).arg(k), k == 0);
    accent(texts[1]);
    accent(texts[2]);
    start = makeButton(frame, QLatin1String(startName), true);
    customize = makeButton(frame, QLatin1String(customizeName));

    auto* layout = new QGridLayout(frame);
    layout->addWidget(makePicture(frame, QStringLiteral("%1Picture").arg(frameName), picture), 0, 0,
                      3, 1, Qt::AlignTop);
    layout->addWidget(texts[0], 0, 1);
    layout->addWidget(texts[1], 1, 1);
    layout->addWidget(texts[2], 2, 1);
    layout->setRowStretch(3, 1);
    layout->addLayout(buttonRow({customize, start}), 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    return frame;
}

void frm_SwitchBoard::buildCustomTab() {
    QWidget* holder = SSTab1->widget(kCustomTab);
    // Tab 1's picture and line head the custom page, as every tab's do.
    PicLogo[0] = platform::Named(new QLabel(holder), QStringLiteral("PicLogo0"));
    Label15 = makeLabel(holder, QStringLiteral("Label15"));
    CustomPage = new CustomTab(holder);
    CustomPage->PlaceHeading(PicLogo[0], Label15);
    holder->layout()->addWidget(CustomPage);
}

void frm_SwitchBoard::buildSaveTab() {
    QWidget* page = newPage(kSavedExamsTab, lbl_Title[1], 1, Label16, "Label16");

    Toolbar1 = makeToolBar(page, QStringLiteral("Toolbar1"));
    QAction* open = Toolbar1->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QString());
    connect(open, &QAction::triggered, this, &frm_SwitchBoard::Toolbar1_ButtonClick);
    Label7 = makeLabel(page, QStringLiteral("Label7"));
    ListView3 = makeList(page, QStringLiteral("ListView3"));
    ListView3->setCheckBoxes(true);
    for (std::size_t k = 0; k < Command4.size(); ++k)
        Command4[k] = makeButton(page, QStringLiteral("Command4_%1").arg(k));

    auto* listSide = new QVBoxLayout;
    auto* listTop = new QHBoxLayout;
    listTop->addWidget(Toolbar1);
    listTop->addWidget(Label7, 1);
    listSide->addLayout(listTop);
    listSide->addWidget(ListView3, 1);
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* button : Command4)
        listButtons->addWidget(button);
    listButtons->addStretch(1);
    listSide->addLayout(listButtons);

    Frame7 = platform::Named(new QGroupBox(page), QStringLiteral("Frame7"));
    for (std::size_t k = 0; k < Label5.size(); ++k)
        Label5[k] = makeLabel(Frame7, QStringLiteral("Label5_%1").arg(k));
    for (std::size_t k = 1; k < Label6.size(); ++k) {
        Label6[k] = makeLabel(Frame7, QStringLiteral("Label6_%1").arg(k), true);
        Label6[k]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    Text1 = platform::Named(new QLineEdit(Frame7), QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    for (std::size_t k = 1; k < Command5.size(); ++k)
        Command5[k] = makeButton(Frame7, QStringLiteral("Command5_%1").arg(k), k == 1);

    auto* details = new QGridLayout(Frame7);
    details->setVerticalSpacing(8);
    details->addWidget(Label5[0], 0, 0);
    details->addWidget(Text1, 0, 1);
    for (int k = 1; k <= 6; ++k) {
        details->addWidget(Label5[static_cast<std::size_t>(k)], k, 0);
        // The time limit and the time left carry their unit right after the value, as far
        // from it as a caption is from its value (a nested layout would inherit no spacing
        // from a grid whose two spacings differ).
        // A value without a unit takes the whole width, so that it wraps only when it must.
        auto* value = new QHBoxLayout;
        value->setSpacing(details->horizontalSpacing());
        const bool withUnit = k == 3 || k == 4;
        value->addWidget(Label6[static_cast<std::size_t>(k)], withUnit ? 0 : 1);
        if (withUnit) {
            value->addWidget(Label5[static_cast<std::size_t>(k) + 4]);
            value->addStretch(1);
        }
        details->addLayout(value, k, 1);
    }
    details->setColumnStretch(1, 1);
    details->setRowStretch(7, 1);
    QHBoxLayout* buttons = buttonRow({Command5[2], Command5[1]});
    buttons->setSpacing(details->horizontalSpacing());
    details->addLayout(buttons, 8, 0, 1, 2);

    auto* body = new QHBoxLayout;
    body->addLayout(listSide, 1);
    body->addWidget(Frame7, 1);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(body, 1);
}

QuestionBrowserPage* frm_SwitchBoard::addQuestionPage(QWidget* page,
                                                      const browsers::BrowserTab& tab,
                                                      const QuestionPageNames& names) {
    auto* browser = new QuestionBrowserPage(tab, names, page);
    static_cast<QVBoxLayout*>(page->layout())->addWidget(browser, 1);
    return browser;
}

void frm_SwitchBoard::buildViewAllTab() {
    QWidget* viewAll = newPage(kViewAllTab, lbl_Title[2], 2, Label17, "Label17");
    ViewAllPage = addQuestionPage(viewAll, mod_ViewAllQuestions::Tab(),
                                  {"SSTab3", "RichTextBox1", "Combo1", "Command6", "Command7",
                                   "Check1", "Check2", "Command14", "lbl_MyNotes", "Label8",
                                   "MyNotes1_Contents", "MyNotes1_Toolbar", "ListView1"});
    ViewAllPage->SetTitleLabel(lbl_Title[2]);
    SSTab3 = ViewAllPage->Tabs;
    RichTextBox1 = ViewAllPage->QuestionBox;
    Combo1 = ViewAllPage->Jump;
    Command6 = ViewAllPage->PreviousButton;
    Command7 = ViewAllPage->NextButton;
    Check1 = ViewAllPage->AnswersBox;
    Check2 = ViewAllPage->BookmarkBox;
    Command14 = ViewAllPage->FullViewButton;
    lbl_MyNotes = ViewAllPage->NotesHeading;
    Label8 = ViewAllPage->JumpLabel;
    MyNotes1_Contents = ViewAllPage->NotesContents;
    MyNotes1_Toolbar = ViewAllPage->NotesToolbar;
    ListView1 = ViewAllPage->List;
}

void frm_SwitchBoard::buildBookmarksTab() {
    QWidget* bookmarks = newPage(kBookmarksTab, lbl_Title[8], 8, Label18, "Label18");
    BookmarkPage = addQuestionPage(
        bookmarks, mod_Bookmark::Tab(),
        {"SSTab4", "RichTextBox2", "Combo2", "Command10", "Command9", "Check4", "Check3",
         "Command8", "Label9", "Label10", "WebBrowser2", "Toolbar2", "ListView5"});
    BookmarkPage->SetTitleLabel(lbl_Title[8]);
    SSTab4 = BookmarkPage->Tabs;
    RichTextBox2 = BookmarkPage->QuestionBox;
    Combo2 = BookmarkPage->Jump;
    Command10 = BookmarkPage->PreviousButton;
    Command9 = BookmarkPage->NextButton;
    Check4 = BookmarkPage->AnswersBox;
    Check3 = BookmarkPage->BookmarkBox;
    Command8 = BookmarkPage->FullViewButton;
    Label9 = BookmarkPage->NotesHeading;
    Label10 = BookmarkPage->JumpLabel;
    WebBrowser2 = BookmarkPage->NotesContents;
    Toolbar2 = BookmarkPage->NotesToolbar;
    ListView5 = BookmarkPage->List;
}

void frm_SwitchBoard::buildPerformanceTab() {
    QWidget* page = newPage(kPerformanceTab, lbl_Title[3], 3, Label19, "Label19");
    PerformanceTitle = lbl_Title[3];
    PerformanceTipOwner = this;
    SSTab2 = platform::Named(new QTabWidget(page), QStringLiteral("SSTab2"));
    ListView7 = makeList(SSTab2, QStringLiteral("ListView7"));
    ListView8 = makeList(SSTab2, QStringLiteral("ListView8"));
    ListView9 = makeList(SSTab2, QStringLiteral("ListView9"));
    for (ListView* list : {ListView7, ListView8, ListView9})
        SSTab2->addTab(list, QString());
    Label13 = makeLabel(page, QStringLiteral("Label13"));
    Label14 = makeLabel(page, QStringLiteral("Label14"));
    emphasise(Label14, 1.2);
    Command15 = makeButton(page, QStringLiteral("Command15"));

    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->addWidget(SSTab2, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label13);
    bottom->addWidget(Label14);
    bottom->addStretch(1);
    bottom->addWidget(Command15);
    layout->addLayout(bottom);
}

void frm_SwitchBoard::buildResourcesTab() {
    QWidget* page = newPage(kResourcesTab, lbl_Title[5], 5, Label21, "Label21");
    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    const auto panel = [&](QGroupBox*& frame, const char* frameName, QLabel*& picture,
                           const char* pictureName, int slot, QLabel*& label, const char* labelName,
                           QPushButton*& button, const char* buttonName, int row, int column) {
        frame = platform::Named(new QGroupBox(page), QLatin1String(frameName));
        picture = makePicture(frame, QLatin1String(pictureName), framePicture(slot));
        label = makeLabel(frame, QLatin1String(labelName), true);
        button = makeButton(frame, QLatin1String(buttonName));
        auto* layout = new QGridLayout(frame);
        layout->addWidget(picture, 0, 0, Qt::AlignTop);
        layout->addWidget(label, 0, 1);
        layout->setColumnStretch(1, 1);
        layout->setRowStretch(1, 1);
        layout->addLayout(buttonRow({button}), 2, 0, 1, 2);
        grid->addWidget(frame, row, column);
    };
    panel(Frame8, "Frame8", Picture6, "Picture6", kExamInstructionsImageSlot, Label22, "Label22",
          Command16, "Command16", 0, 0);
    panel(Frame10, "Frame10", Picture5, "Picture5", kRevisionNotesImageSlot, Label24, "Label24",
          Command18, "Command18", 0, 1);
    panel(Frame9, "Frame9", Picture8, "Picture8", kRevisionNotesImageSlot, Label23, "Label23",
          Command17, "Command17", 1, 0);
    panel(Frame11, "Frame11", Picture7, "Picture7", kRevisionNotesImageSlot, Label25, "Label25",
          Command19, "Command19", 1, 1);
    connect(Command16, &QPushButton::clicked, this, &frm_SwitchBoard::Command16_Click);
    connect(Command17, &QPushButton::clicked, this, &frm_SwitchBoard::Command17_Click);
    connect(Command18, &QPushButton::clicked, this, &frm_SwitchBoard::Command18_Click);
    connect(Command19, &QPushButton::clicked, this, &frm_SwitchBoard::Command19_Click);
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->addLayout(grid);
    layout->addStretch(1);
}

void frm_SwitchBoard::buildMyNotesTab() {
    QWidget* notes = newPage(kMyNotesTab, lbl_Title[4], 4, Label20, "Label20");
    MyNotesPage = addQuestionPage(
        notes, mod_MyNotesTab::Tab(),
        {"SSTab5", "RichTextBox3", "Combo3", "Command13", "Command12", "Check6", "Check5",
         "Command11", "Label11", "Label12", "WebBrowser3", "Toolbar3", "ListView6"});
    MyNotesPage->SetTitleLabel(lbl_Title[4]);
    SSTab5 = MyNotesPage->Tabs;
    RichTextBox3 = MyNotesPage->QuestionBox;
    Combo3 = MyNotesPage->Jump;
    Command13 = MyNotesPage->PreviousButton;
    Command12 = MyNotesPage->NextButton;
    Check6 = MyNotesPage->AnswersBox;
    Check5 = MyNotesPage->BookmarkBox;
    Command11 = MyNotesPage->FullViewButton;
    Label11 = MyNotesPage->NotesHeading;
    Label12 = MyNotesPage->JumpLabel;
    WebBrowser3 = MyNotesPage->NotesContents;
    Toolbar3 = MyNotesPage->NotesToolbar;
    ListView6 = MyNotesPage->List;
}

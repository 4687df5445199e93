#include "browsers/frm_FullView.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "browsers/QuestionBrowserPage.h"
#include "browsers/mod_ViewAllQuestions.h"
#include "core/NumberList.h"
#include "core/SystemVars.h"
#include "core/mod_ComboBox.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace {

// The view-all texts and layout, a header line, no list page.
const browsers::BrowserTab& fullViewTab() {
    static const browsers::BrowserTab tab{mod_ViewAllQuestions::Tab().Text,
                                          browsers::ChoiceLayout::kLabelInParentheses, nullptr,
                                          false, true};
    return tab;
}

// The note box beside the controls in the fixed panel, with room to spare for their texts.
constexpr int kNarrowestNotes = 320;

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    return platform::Named(widget, QLatin1String(name));
}

}  // namespace

frm_FullView::frm_FullView(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), browser_(fullViewTab(), *this) {
    mod_Forms::Register(this, "frm_FullView");
    setModal(true);
    platform::FillBackground(this);
    resize(782, 448);

    RichTextBox1 = named(new QTextEdit(this), "RichTextBox1");
    RichTextBox1->setReadOnly(true);
    RichTextBox1->installEventFilter(this);
    RichTextBox1->viewport()->installEventFilter(this);

    Picture1 = named(new QWidget(this), "Picture1");
    Command14 = named(new QPushButton(Picture1), "Command14");
    Label8 = named(new QLabel(Picture1), "Label8");
    Combo1 = named(new TypeAheadComboBox(Picture1), "Combo1");
    Combo1->setMinimumWidth(70);
    Check1 = named(new QCheckBox(Picture1), "Check1");
    Command6 = named(new QPushButton(Picture1), "Command6");
    Command7 = named(new QPushButton(Picture1), "Command7");
    Check2 = named(new QCheckBox(Picture1), "Check2");
    StatusBar1 = named(new QLabel(Picture1), "StatusBar1");
    StatusBar1->setTextFormat(Qt::PlainText);
    StatusBar1->setFrameShape(QFrame::StyledPanel);
    MyNotes = named(new QWidget(Picture1), "MyNotes");
    lbl_MyNotes = named(new QLabel(MyNotes), "lbl_MyNotes");
    lbl_MyNotes->setTextFormat(Qt::PlainText);
    MyNotes1_Editor = new NotesEditor(MyNotes);
    MyNotes1_Toolbar = named(MyNotes1_Editor->Toolbar(), "MyNotes1_Toolbar");
    MyNotes1_Contents = named(MyNotes1_Editor->Contents(), "MyNotes1_Contents");
    MyNotes1_Contents->setMinimumWidth(kNarrowestNotes);
    noteSlot_ = std::make_unique<browsers::EditorNoteSlot>(*MyNotes1_Editor);
    browser_.SetNoteSlot(*noteSlot_);

    auto* notes = new QVBoxLayout(MyNotes);
    notes->setContentsMargins(0, 0, 0, 0);
    notes->addWidget(lbl_MyNotes);
    notes->addWidget(MyNotes1_Editor, 1);

    auto* controls = new QGridLayout;
    controls->addWidget(Command14, 0, 0, 1, 3);
    controls->addWidget(Label8, 1, 0);
    controls->addWidget(Combo1, 1, 1);
    controls->addWidget(Check1, 1, 2);
    controls->addWidget(Command6, 2, 0);
    controls->addWidget(Command7, 2, 1);
    controls->addWidget(Check2, 2, 2);
    controls->setRowStretch(3, 1);
    controls->addWidget(StatusBar1, 4, 0, 1, 3);
    auto* panel = new QHBoxLayout(Picture1);
    panel->addLayout(controls, 1);
    panel->addWidget(MyNotes, 1);
    Picture1->setFixedSize(769, 177);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->addWidget(RichTextBox1, 1);
    layout->addWidget(Picture1, 0, Qt::AlignHCenter);

    connect(Command14, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command6, &QPushButton::clicked, this, [this] { browser_.Previous(); });
    connect(Command7, &QPushButton::clicked, this, [this] { browser_.Next(); });
    connect(Combo1, &QComboBox::textActivated, this,
            [this](const QString& number) { browser_.Jump(number.toInt()); });
    connect(Check1, &QCheckBox::clicked, this,
            [this](bool ticked) { browser_.AnswersClicked(ticked); });
    connect(Check2, &QCheckBox::clicked, this,
            [this](bool ticked) { browser_.SaveBookmarkFlag(ticked); });
}

FullViewResult frm_FullView::Show(QWidget* owner, FullViewRequest request) {
    if (request.List.empty()) return {request.Start, request.ShowAnswers};
    const QPointer<frm_FullView> window = new frm_FullView(owner);
    window->Form_Load(std::move(request));
    window->exec();
    if (!window) return {};
    const FullViewResult result = window->Result();
    delete window.data();
    return result;
}

void frm_FullView::Form_Load(FullViewRequest request) {
    StatusBar1->setText(platform::toQt(SystemVars.Copyright));
    browser_.OpenWith(std::move(request));
    result_ = {browser_.Position().value_or(0), browser_.ShowAnswers()};
}

// Every way out (the close button, Escape, the window manager) comes through here once.
void frm_FullView::done(int code) {
    if (!unloaded_) {
        const std::optional<FullViewResult> result = browser_.Close();
        // The note could not be saved: the window stays with what the user typed.
        if (!result) return;
        unloaded_ = true;
        result_ = *result;
    }
    QDialog::done(code);
}

// The question box never keeps the focus, except for the keys that scroll it.
bool frm_FullView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == RichTextBox1 || watched == RichTextBox1->viewport()) && HandsFocusOn(*event))
        Command14->setFocus();
    return QDialog::eventFilter(watched, event);
}

// The window has no default button: an Enter the focused control leaves (the jump list has
// jumped already, a check box takes only Space) must not close it. A focused button takes
// Enter itself.
void frm_FullView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frm_FullView::SetCaptions(const browsers::BrowserCaptions& c) {
    Command14->setText(platform::toQt(c.Close));
    Label8->setText(platform::toQt(c.JumpLabel));
    Check1->setText(platform::toQt(c.Answers));
    Command6->setText(platform::toQt(c.Previous));
    Command7->setText(platform::toQt(c.Next));
    Check2->setText(platform::toQt(c.Bookmark));
    lbl_MyNotes->setText(platform::toQt(c.NotesHeading));
}

void frm_FullView::FillJumpList(int count) {
    ShowNumbers(*Combo1, count);
    Combo1->setCurrentIndex(-1);
}

void frm_FullView::ClearJumpText() {
    Combo1->setCurrentIndex(-1);
    Combo1->clearEditText();
}

void frm_FullView::SetStepButtons(bool previousEnabled, bool nextEnabled) {
    Command6->setEnabled(previousEnabled);
    Command7->setEnabled(nextEnabled);
}

void frm_FullView::ShowQuestion(const browsers::RenderedQuestion& page) {
    ShowRenderedQuestion(*RichTextBox1, page);
}

void frm_FullView::ShowNoQuestion() {
    RichTextBox1->clear();
    MyNotes1_Editor->ShowBlankPage();
}

void frm_FullView::SetAnswersBox(bool ticked) {
    Check1->setChecked(ticked);
}

void frm_FullView::SetBookmarkBox(bool ticked) {
    Check2->setChecked(ticked);
}

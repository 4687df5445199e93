#include "browsers/QuestionBrowserPage.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

#include "browsers/EditorNoteSlot.h"
#include "core/ListView.h"
#include "core/NumberList.h"
#include "core/QuestionRowTip.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"
#include "core/mod_ComboBox.h"
#include "exam/QuestionLookup.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Picture.h"

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kObjectiveColumn = 2;
constexpr int kQuestionColumn = 4;
constexpr qreal kIndent = 125.0 / kTwipsPerPixel;
// The note box at the main window's smallest: its notes are tried this narrow.
constexpr int kNarrowestNotes = 200;

QString plainText(std::string_view windows1252) {
    QString text = platform::toQt(windows1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// A row's cells for the list: the objective and question cells stay empty, the list reads
// them from the bank.
void rowCells(const browsers::BrowserRow& row, std::vector<std::string>& cells) {
    cells.assign(kQuestionColumn + 1, {});
    cells[0] = row.Number;
    cells[1] = row.Exam;
    cells[3] = row.Level;
}

}  // namespace

bool HandsFocusOn(const QEvent& event) {
    switch (event.type()) {
        case QEvent::FocusIn:
        case QEvent::MouseButtonPress:
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<const QKeyEvent&>(event).key();
            return key != Qt::Key_PageUp && key != Qt::Key_PageDown && key != Qt::Key_Left &&
                   key != Qt::Key_Up && key != Qt::Key_Right && key != Qt::Key_Down;
        }
        default:
            return false;
    }
}

void ShowRenderedQuestion(QTextEdit& box, const browsers::RenderedQuestion& page) {
    box.setPlainText(plainText(page.Text));
    QTextDocument* document = box.document();
    QTextCursor cursor(document);
    if (page.Picture) {
        const QPixmap picture = mod_Picture::PictureFromBytes(page.Picture->Bytes);
        if (!picture.isNull()) {
            const QUrl url(
                QStringLiteral("question-picture:%1").arg(platform::toQt(page.Picture->Name)));
            document->addResource(QTextDocument::ImageResource, url, picture.toImage());
            const auto offset = static_cast<std::size_t>(page.PictureOffset);
            cursor.setPosition(static_cast<int>(plainText(page.Text.substr(0, offset)).size()));
            cursor.insertImage(url.toString());
        }
    }
    cursor.select(QTextCursor::Document);
    QTextBlockFormat indent;
    indent.setLeftMargin(kIndent);
    cursor.mergeBlockFormat(indent);
    box.moveCursor(QTextCursor::Start);
}

QuestionBrowserPage::QuestionBrowserPage(const browsers::BrowserTab& tab,
                                         const QuestionPageNames& n, QWidget* parent)
    : QWidget(parent), browser_(tab, *this) {
    Tabs = platform::Named(new QTabWidget(this), n.tabs);
    auto* questionPage = new QWidget(Tabs);
    QuestionBox = platform::Named(new QTextEdit(questionPage), n.text);
    QuestionBox->setReadOnly(true);
    QuestionBox->installEventFilter(this);
    QuestionBox->viewport()->installEventFilter(this);
    JumpLabel = platform::Named(new QLabel(questionPage), n.jumpLabel);
    JumpLabel->setTextFormat(Qt::PlainText);
    Jump = platform::Named(new TypeAheadComboBox(questionPage), n.jump);
    Jump->setMinimumWidth(70);
    PreviousButton = platform::Named(new QPushButton(questionPage), n.previous);
    NextButton = platform::Named(new QPushButton(questionPage), n.next);
    AnswersBox = platform::Named(new QCheckBox(questionPage), n.answers);
    BookmarkBox = platform::Named(new QCheckBox(questionPage), n.bookmark);
    FullViewButton = platform::Named(new QPushButton(questionPage), n.fullView);

    NotesPanel = new QWidget(questionPage);
    NotesHeading = platform::Named(new QLabel(NotesPanel), n.notesHeading);
    NotesHeading->setTextFormat(Qt::PlainText);
    QFont bold = NotesHeading->font();
    bold.setBold(true);
    NotesHeading->setFont(bold);
    NoteEditor = new NotesEditor(NotesPanel);
    NotesToolbar = platform::Named(NoteEditor->Toolbar(), n.notesToolbar);
    NotesContents = platform::Named(NoteEditor->Contents(), n.notes);
    NotesContents->setMinimumWidth(kNarrowestNotes);
    noteSlot_ = std::make_unique<browsers::EditorNoteSlot>(*NoteEditor);
    browser_.SetNoteSlot(*noteSlot_);
    auto* notesLayout = new QVBoxLayout(NotesPanel);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(NotesHeading);
    notesLayout->addWidget(NoteEditor, 1);

    auto* questionSide = new QVBoxLayout;
    questionSide->addWidget(QuestionBox, 1);
    auto* steps = new QHBoxLayout;
    steps->addWidget(PreviousButton);
    steps->addWidget(NextButton);
    steps->addSpacing(12);
    steps->addWidget(JumpLabel);
    steps->addWidget(Jump);
    steps->addStretch(1);
    steps->addWidget(FullViewButton);
    questionSide->addLayout(steps);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(AnswersBox);
    boxes->addWidget(BookmarkBox);
    boxes->addStretch(1);
    questionSide->addLayout(boxes);
    auto* questionLayout = new QHBoxLayout(questionPage);
    questionLayout->addLayout(questionSide, 3);
    questionLayout->addWidget(NotesPanel, 2);
    Tabs->insertTab(kQuestionPage, questionPage, QString());

    List = platform::Named(new ListView(Tabs), n.list);
    List->setMouseTracking(true);
    List->header()->setStretchLastSection(true);
    Tabs->insertTab(kListPage, List, QString());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Tabs);

    connect(PreviousButton, &QPushButton::clicked, this, [this] { browser_.Previous(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { browser_.Next(); });
    connect(Jump, &QComboBox::textActivated, this,
            [this](const QString& number) { browser_.Jump(number.toInt()); });
    connect(AnswersBox, &QCheckBox::clicked, this,
            [this](bool ticked) { browser_.AnswersClicked(ticked); });
    connect(BookmarkBox, &QCheckBox::clicked, this,
            [this](bool ticked) { browser_.SaveBookmarkFlag(ticked); });
    connect(Tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kListPage) ApplyList();
    });
    connect(FullViewButton, &QPushButton::clicked, this, &QuestionBrowserPage::fullViewRequested);
    connect(List, &ListView::rowDoubleClicked, this, [this](int row) {
        if (!browser_.ListDoubleClicked(List->rowNumber(row))) emit listEmptied();
    });
    connect(List, &ListView::rowEntered, this,
            [this](int row) { ShowRowTip(List->rowNumber(row)); });
}

QuestionBrowserPage::~QuestionBrowserPage() = default;

// The question box never keeps the focus, except for the keys that scroll it.
bool QuestionBrowserPage::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == QuestionBox || watched == QuestionBox->viewport()) && HandsFocusOn(*event))
        FullViewButton->setFocus();
    return QWidget::eventFilter(watched, event);
}

void QuestionBrowserPage::ShowRowTip(int number) {
    if (number == tipRow_) return;
    tipRow_ = number;
    const auto& list = browser_.List();
    if (number < 1 || static_cast<std::size_t>(number) > list.size()) return;
    ShowQuestionRowTip(tip_, List, exam::FindQuestion(list[static_cast<std::size_t>(number - 1)]));
}

void QuestionBrowserPage::SetCaptions(const browsers::BrowserCaptions& c) {
    if (title_) title_->setText(platform::toQt(c.Title));
    Tabs->setTabText(kQuestionPage, platform::toQt(c.QuestionPage));
    Tabs->setTabText(kListPage, platform::toQt(c.ListPage));
    NotesHeading->setText(platform::toQt(c.NotesHeading));
    JumpLabel->setText(platform::toQt(c.JumpLabel));
    PreviousButton->setText(platform::toQt(c.Previous));
    NextButton->setText(platform::toQt(c.Next));
    AnswersBox->setText(platform::toQt(c.Answers));
    BookmarkBox->setText(platform::toQt(c.Bookmark));
    FullViewButton->setText(platform::toQt(c.FullView));
}

void QuestionBrowserPage::FillJumpList(int count) {
    ShowNumbers(*Jump, count);
    Jump->setCurrentIndex(-1);
}

void QuestionBrowserPage::ClearJumpText() {
    Jump->setCurrentIndex(-1);
    Jump->clearEditText();
}

void QuestionBrowserPage::SetPageCaption(const std::string& caption) {
    Tabs->setTabText(kQuestionPage, platform::toQt(caption));
}

void QuestionBrowserPage::SetStepButtons(bool previousEnabled, bool nextEnabled) {
    PreviousButton->setEnabled(previousEnabled);
    NextButton->setEnabled(nextEnabled);
}

void QuestionBrowserPage::ShowQuestion(const browsers::RenderedQuestion& page) {
    ShowRenderedQuestion(*QuestionBox, page);
}

void QuestionBrowserPage::ShowNoQuestion() {
    QuestionBox->clear();
    NoteEditor->ShowBlankPage();
    ClearJumpText();
}

void QuestionBrowserPage::SetAnswersBox(bool ticked) {
    AnswersBox->setChecked(ticked);
}

void QuestionBrowserPage::SetBookmarkBox(bool ticked) {
    BookmarkBox->setChecked(ticked);
}

void QuestionBrowserPage::ShowQuestionPage() {
    Tabs->setCurrentIndex(kQuestionPage);
}

// A bank's worth of rows is built only when the user looks at them.
void QuestionBrowserPage::FillList(const std::vector<std::string>& headers, std::size_t) {
    pendingHeaders_ = headers;
    if (Tabs->currentIndex() == kListPage) ApplyList();
}

// Columns are sized once after the rows are in: the number fits its cells, the next three
// their cells and headers; the question column takes the rest of the list, whatever its size.
void QuestionBrowserPage::ApplyList() {
    if (!pendingHeaders_) return;
    const std::vector<std::string> headers = std::move(*pendingHeaders_);
    pendingHeaders_.reset();
    List->clear();
    List->clearColumns();
    for (const std::string& header : headers)
        List->addColumn(header);
    List->setTextSource(
        {kObjectiveColumn, kQuestionColumn}, [](std::int32_t id, int column) -> std::string_view {
            const QuestionRecord* question = exam::FindQuestion(id);
            if (!question) return {};
            return column == kObjectiveColumn ? question->Topic : question->QuestionText;
        });

    const std::size_t count = browser_.List().size();
    {
        ListRowBatch batch(*List);
        ListRow row;
        for (std::size_t i = 0; i < count; ++i) {
            const browsers::BrowserRow shown = browser_.ListRow(i);
            rowCells(shown, row.Texts);
            row.Key = std::to_string(i) + "a";
            row.Source = shown.QuestionId;
            batch.add(row);
        }
    }
    tipRow_ = -1;

    List->autoSizeColumn(0, false);
    for (int column = 1; column < kQuestionColumn; ++column)
        List->autoSizeColumn(column, true);
}

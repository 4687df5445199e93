#include "notes/NotesEditor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/AppPaths.h"
#include "core/OwnIcons.h"
#include "notes/NoteFormatting.h"
#include "notes/NotePaste.h"
#include "notes/NoteRoundTrip.h"
#include "notes/NoteText.h"
#include "notes/NotesContextMenu.h"
#include "pages/PagePictures.h"
#include "pages/PageReader.h"
#include "pages/PageRefusals.h"
#include "pages/PrintedPage.h"
#include "platform/FontColorDialogs.h"
#include "platform/MessageBox.h"
#include "platform/Printing.h"
#include "platform/TextCodec.h"

namespace {

struct ToolbarPosition {
    const char* key;
    const char* tip;
};

// Positions 1 to 15; a null key is a separator. Images 1 to 10 go to the keyed buttons.
constexpr std::array<ToolbarPosition, 15> kLayout = {{
    {nullptr, nullptr},
    {"print", "Print"},
    {"preview", "Print Preview"},
    {nullptr, nullptr},
    {"undo", "Undo"},
    {"redo", "Redo"},
    {nullptr, nullptr},
    {"left", "Align Left"},
    {"center", "Align Center"},
    {"right", "Align Right"},
    {"bullet", "Bullets"},
    {nullptr, nullptr},
    {"font", "Font"},
    {"color", "Font Color"},
    {nullptr, nullptr},
}};

// How a note wraps: Qt's own for rich text.
constexpr QTextOption::WrapMode kNoteWrap = QTextOption::WrapAtWordBoundaryOrAnywhere;
// A note's text alone breaks anywhere: a word of many letters wraps in a time linear in them,
// not their square.
constexpr QTextOption::WrapMode kTextWrap = QTextOption::WrapAnywhere;

const std::string kNotPasted = "This cannot be pasted into the note:\r\n\r\n";
const std::string kPasteTextAlone = "\r\n\r\nPaste its text alone, without its formatting?";

NoteDialogMemory& mainWindowDialogs() {
    static NoteDialogMemory memory;
    return memory;
}

bool hasPicture(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) return true;
    return false;
}

// The text without the stand-in character of pictures.
QString textOf(const QTextDocument& document) {
    QString text = document.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

// Ctrl+B, Ctrl+I and Ctrl+U: the style they switch.
std::optional<NoteFormatting::Style> styleKey(const QKeyEvent& event) {
    if (event.modifiers() != Qt::ControlModifier) return std::nullopt;
    switch (event.key()) {
        case Qt::Key_B:
            return NoteFormatting::Style::Bold;
        case Qt::Key_I:
            return NoteFormatting::Style::Italic;
        case Qt::Key_U:
            return NoteFormatting::Style::Underline;
        default:
            return std::nullopt;
    }
}

}  // namespace

// The note's text box: its releases and its context menu belong to the editor.
class NotesEditor::TextBox : public QTextEdit {
public:
    explicit TextBox(NotesEditor* editor)
        : QTextEdit(editor), editor_(editor), pictures_(page_reader::FilesOf(pictureSource())) {}

    // A new page starts with none of the last page's pictures and the whole pixel budget.
    void ForgetPictures() { pictures_.Reset(); }

    [[nodiscard]] page_reader::PageDocument::PictureLoader Pictures() {
        return [this](const QUrl& name) { return pictures_.Load(name); };
    }

    // How this box lays a note out; a note's text alone wraps otherwise.
    [[nodiscard]] page_reader::PageBox Box() const {
        page_reader::PageBox box = page_reader::BoxOf(*this, pictureSource());
        box.option.setWrapMode(kNoteWrap);
        // Pictures named relative to the note file.
        box.baseUrl =
            QUrl::fromLocalFile(QString::fromStdString((AppPaths::MyNotesFolder() / "").string()));
        return box;
    }

protected:
    void dropEvent(QDropEvent* event) override { Drop(event, event->source() == viewport()); }
    void keyPressEvent(QKeyEvent* event) override {
        const std::optional<NoteFormatting::Style> style =
            isReadOnly() ? std::nullopt : styleKey(*event);
        if (style) {
            NoteFormatting::ToggleStyle(*this, *style);
            event->accept();
            return;
        }
        QTextEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QTextEdit::keyReleaseEvent(event);
        editor_->UpdateNotesToolbar();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTextEdit::mouseReleaseEvent(event);
        editor_->UpdateNotesToolbar();
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        editor_->ShowContextMenu(event->globalPos());
        event->accept();
    }
    // A note shows its pictures wherever it names them, as pasted; only a regular file may
    // stand behind a name, never a device, a folder or a remote address.
    QVariant loadResource(int /*type*/, const QUrl& name) override { return pictures_.Load(name); }
    // A paste or a drop comes in only when the note it makes would be shown again.
    void insertFromMimeData(const QMimeData* source) override {
        refused_ = false;
        if (isReadOnly() || !source) return;
        const QTextCursor caret = textCursor();
        Pasted pasted =
            read(*source, {caret.anchor(), caret.position(), std::nullopt, caret.charFormat()});
        if (!pasted.refusal) {
            textCursor().insertFragment(pasted.fragment);
            ensureCursorVisible();
            return;
        }
        const QString text = source->text();
        QMimeData plain;
        plain.setText(text);
        const bool textAlone =
            !pasted.plainText && !text.isEmpty() &&
            !read(plain, {caret.anchor(), caret.position(), std::nullopt, caret.charFormat()})
                 .refusal;
        refused_ = true;
        if (!textAlone) {
            platform::MsgBox(kNotPasted + *pasted.refusal, platform::kExclamation);
            return;
        }
        if (platform::MsgBox(kNotPasted + *pasted.refusal + kPasteTextAlone,
                             platform::kYesNo | platform::kQuestion) == platform::kYes) {
            textCursor().insertFragment(QTextDocumentFragment::fromPlainText(text));
            refused_ = false;
        }
    }

public:
    // A drop; `fromThisBox` when it was dragged from this box's own text. Qt takes the text of
    // a move out before it inserts it again: a move that would be refused is refused first, so
    // that its text stays where it was.
    void Drop(QDropEvent* event, bool fromThisBox) {
        const QTextCursor selection = textCursor();
        const bool moveWithin = !isReadOnly() && fromThisBox &&
                                event->dropAction() == Qt::MoveAction && selection.hasSelection() &&
                                event->mimeData();
        if (moveWithin) {
            const int at = cursorForPosition(event->position().toPoint()).position();
            const auto refusal =
                read(*event->mimeData(),
                     {at, at, std::pair(selection.selectionStart(), selection.selectionEnd()),
                      std::nullopt})
                    .refusal;
            if (refusal) {
                event->ignore();
                // Qt's own drop clears the caret it drew at the drop point.
                QDragLeaveEvent leave;
                QTextEdit::dragLeaveEvent(&leave);
                platform::MsgBox(kNotPasted + *refusal, platform::kExclamation);
                return;
            }
        }
        QTextEdit::dropEvent(event);
        // A refused drop must not tell its source it was taken: a move would delete the text
        // there.
        if (refused_) {
            event->setDropAction(Qt::IgnoreAction);
            event->ignore();
        }
    }

private:
    struct Pasted {
        QTextDocumentFragment fragment;
        bool plainText = false;
        std::optional<std::string> refusal;
    };

    static page_reader::PictureSource pictureSource() {
        return {page_trial::PictureRule::kAnywhere, AppPaths::MyNotesFolder()};
    }

    // What the source brings, and whether the note it would make at `at` would be shown.
    Pasted read(const QMimeData& source, const note_paste::Insertion& at) {
        page_reader::ReadPage read = page_reader::ReadPasted(source, Box(), Pictures());
        Pasted pasted;
        pasted.plainText = read.plainText.has_value();
        if (read.refusal) {
            pasted.refusal = page_refusals::Reason(*read.refusal, page_refusals::Subject::kPaste);
            return pasted;
        }
        pasted.fragment = read.plainText ? QTextDocumentFragment::fromPlainText(*read.plainText)
                                         : QTextDocumentFragment(read.document.get());
        if (const auto refusal =
                page_reader::JudgePage(note_paste::JoinedPage(*document(), at, pasted.fragment),
                                       Box(), page_trial::Standing::kComingIn))
            pasted.refusal =
                page_refusals::Reason(*refusal, page_refusals::Subject::kNoteWithPaste);
        return pasted;
    }

    NotesEditor* editor_;
    platform::PagePictures pictures_;
    bool refused_ = false;  // the last paste or drop brought nothing in
};

NotesEditor::NotesEditor(QWidget* parent, Dialogs dialogs) : QWidget(parent), dialogs_(dialogs) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_ = new QToolBar(this);
    toolbar_->setIconSize(QSize(16, 16));
    buildToolbar();
    layout->addWidget(toolbar_);
    contents_ = new TextBox(this);
    contents_->setAcceptRichText(true);
    layout->addWidget(contents_, 1);
    connect(contents_, &QTextEdit::selectionChanged, this, &NotesEditor::selectionMoved);
    connect(contents_, &QTextEdit::cursorPositionChanged, this, &NotesEditor::selectionMoved);
    // An edit can change the caret's paragraph and leave the caret where it was (Enter ending
    // a list, undo, redo).
    connect(contents_, &QTextEdit::textChanged, this, &NotesEditor::selectionMoved);
    ShowBlankPage();
}

void NotesEditor::buildToolbar() {
    int image = 1;
    for (const ToolbarPosition& position : kLayout) {
        if (!position.key) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QLatin1String(position.key);
        QAction* button = toolbar_->addAction(OwnIcons::noteToolbarIcon(image++), QString());
        button->setObjectName(key);
        button->setToolTip(QLatin1String(position.tip));
        // The pressed look is set by the refresh, not by the click.
        const bool state =
            key == u"left" || key == u"center" || key == u"right" || key == u"bullet";
        button->setCheckable(state);
        connect(button, &QAction::triggered, this, [this, key] { ButtonClick(key); });
    }
}

QTextEdit* NotesEditor::Contents() const {
    return contents_;
}

QAction* NotesEditor::Button(const QString& key) const {
    for (QAction* action : toolbar_->actions())
        if (!action->isSeparator() && action->objectName() == key) return action;
    return nullptr;
}

void NotesEditor::replacePage(const std::function<void()>& change) {
    const QScopedValueRollback replacing(replacingPage_, true);
    change();
}

void NotesEditor::selectionMoved() {
    if (!replacingPage_) UpdateNotesAlignButtons();
}

void NotesEditor::ShowBlankPage() {
    ForgetNote();
    contents_->ForgetPictures();
    replacePage([this] { contents_->clear(); });
    contents_->document()->clearUndoRedoStacks();
    // Nothing typed here could be kept: no question's note is shown.
    contents_->setReadOnly(true);
    resetToolbar(false);
}

std::optional<std::string> NotesEditor::ShowNotePage(const std::string& html) {
    layOutHidden();
    // Judging the page already loads its pictures, with the whole budget.
    contents_->ForgetPictures();
    page_reader::ReadPage read = page_reader::ReadHtml(
        html, contents_->Box(), contents_->Pictures(), page_trial::Standing::kAlreadyHeld);
    if (read.refusal) return page_refusals::Reason(*read.refusal, page_refusals::Subject::kNote);
    replacePage([this, &read] {
        note_round_trip::PrepareForShowing(*read.document);
        read.document->clearUndoRedoStacks();
        read.document->setModified(false);
        page_reader::ShowDocument(*contents_, std::move(read.document));
    });
    contents_->setReadOnly(false);
    resetToolbar(!textOf(*contents_->document()).isEmpty());
    return std::nullopt;
}

void NotesEditor::layOutHidden() {
    if (contents_->isVisible()) return;
    std::vector<QWidget*> outward;
    for (QWidget* widget = contents_; widget;
         widget = widget->isWindow() ? nullptr : widget->parentWidget())
        outward.push_back(widget);
    // Outside in: each layout places what it holds within the room it was given. Qt does this
    // only when the window or panel shows, after the page has been read.
    for (auto widget = outward.rbegin(); widget != outward.rend(); ++widget) {
        if (QLayout* layout = (*widget)->layout()) {
            layout->activate();
            layout->setGeometry((*widget)->contentsRect());
        }
    }
}

void NotesEditor::ShowUnreadableNote(const std::string& message) {
    contents_->ForgetPictures();
    replacePage([this, &message] { contents_->setPlainText(platform::toQt(message)); });
    contents_->document()->clearUndoRedoStacks();
    contents_->setReadOnly(true);
    resetToolbar(false);
}

void NotesEditor::ShowNoteText(const std::string& page, const std::string& why) {
    const note_text::NoteText text = note_text::TextOf(page);
    const page_reader::PageBox box = contents_->Box();
    auto document = std::make_unique<page_reader::PageDocument>(
        [](const QUrl& /*name*/) { return platform::MissingPicture(); });
    document->setDefaultFont(box.font);
    QTextOption option = box.option;
    option.setWrapMode(kTextWrap);
    document->setDefaultTextOption(option);
    document->setDocumentMargin(box.margin);
    document->setPlainText(platform::toQt(page_refusals::NoteShownAsText(why, text.cut) + "\n\n") +
                           text.text);
    contents_->ForgetPictures();
    replacePage([this, &document] { page_reader::ShowDocument(*contents_, std::move(document)); });
    contents_->document()->clearUndoRedoStacks();
    contents_->setReadOnly(true);
    resetToolbar(false);
}

std::string NotesEditor::NoteHtml() const {
    return platform::fromQtHtml(note_round_trip::WrittenHtml(*contents_->document()));
}

std::optional<page_refusals::Refusal> NotesEditor::JudgeNote(const std::string& page) const {
    return page_reader::JudgePage(page, contents_->Box(), page_trial::Standing::kBeingWritten);
}

bool NotesEditor::IsNoteEmpty() const {
    const QTextDocument& document = *contents_->document();
    return textOf(document).isEmpty() && !hasPicture(document);
}

void NotesEditor::DropFromItsOwnText(QDropEvent& event) {
    contents_->Drop(&event, true);
}

bool NotesEditor::CanUndo() const {
    return contents_->document()->isUndoAvailable();
}

bool NotesEditor::IsEdited() const {
    return contents_->document()->isModified();
}

void NotesEditor::EndEditing() {
    contents_->setReadOnly(true);
}

void NotesEditor::resetToolbar(bool printable) {
    Button(QStringLiteral("print"))->setEnabled(printable);
    Button(QStringLiteral("preview"))->setEnabled(printable);
    Button(QStringLiteral("undo"))->setEnabled(false);
    Button(QStringLiteral("redo"))->setEnabled(false);
    for (const char* key : {"left", "center", "right", "bullet"})
        Button(QLatin1String(key))->setChecked(false);
}

void NotesEditor::UpdateNotesToolbar() {
    const QTextDocument* document = contents_->document();
    Button(QStringLiteral("undo"))->setEnabled(document->isUndoAvailable());
    Button(QStringLiteral("redo"))->setEnabled(document->isRedoAvailable());
    const bool printable = !IsNoteEmpty() && !NoteUnreadable();
    Button(QStringLiteral("print"))->setEnabled(printable);
    Button(QStringLiteral("preview"))->setEnabled(printable);
}

void NotesEditor::UpdateNotesAlignButtons() {
    UpdateNotesToolbar();
    const QTextCursor cursor = contents_->textCursor();
    const std::optional<Qt::Alignment> alignment = NoteFormatting::SelectionAlignment(cursor);
    Button(QStringLiteral("left"))->setChecked(alignment == Qt::AlignLeft);
    Button(QStringLiteral("center"))->setChecked(alignment == Qt::AlignHCenter);
    Button(QStringLiteral("right"))->setChecked(alignment == Qt::AlignRight);
    Button(QStringLiteral("bullet"))->setChecked(NoteFormatting::SelectionInBulletList(cursor));
}

void NotesEditor::ButtonClick(const QString& key) {
    QTextDocument& document = *contents_->document();
    const bool editable = !contents_->isReadOnly();
    if (key == u"print") {
        platform::PrintDocument(document, this, printJudge());
    } else if (key == u"preview") {
        platform::PreviewDocument(document, this, printJudge());
    } else if (!editable) {
        // A page that is not being edited (blank, or already saved) is not changed.
    } else if (key == u"undo") {
        contents_->undo();
    } else if (key == u"redo") {
        contents_->redo();
    } else if (key == u"left") {
        NoteFormatting::Align(contents_->textCursor(), Qt::AlignLeft);
    } else if (key == u"center") {
        NoteFormatting::Align(contents_->textCursor(), Qt::AlignHCenter);
    } else if (key == u"right") {
        NoteFormatting::Align(contents_->textCursor(), Qt::AlignRight);
    } else if (key == u"bullet") {
        NoteFormatting::ToggleBullets(contents_->textCursor());
    } else if (key == u"font") {
        fontCommand();
    } else if (key == u"color") {
        colourCommand();
        return;
    }
    UpdateNotesAlignButtons();
}

platform::PrintJudge NotesEditor::printJudge() const {
    return page_reader::PrintJudgeOf(
        [this] { return platform::fromQtHtml(contents_->document()->toHtml()); }, contents_->Box());
}

NoteDialogMemory& NotesEditor::dialogMemory() {
    return dialogs_ == Dialogs::Own ? ownDialogs_ : mainWindowDialogs();
}

void NotesEditor::fontCommand() {
    NoteDialogMemory& memory = dialogMemory();
    const platform::FontChoice shown = NoteFormatting::SeedFont(
        {memory.font, memory.colour}, NoteFormatting::ReadSelectionFont(*contents_));
    const std::optional<platform::FontChoice> chosen = platform::ChooseFont(shown, this);
    if (!chosen) return;
    memory.font = chosen->font;
    memory.colour = chosen->colour;
    NoteFormatting::ApplyFont(*contents_, shown, *chosen);
}

void NotesEditor::colourCommand() {
    NoteDialogMemory& memory = dialogMemory();
    const std::optional<QColor> chosen = platform::ChooseColor(memory.colour, this);
    if (!chosen) return;
    memory.colour = *chosen;
    NoteFormatting::ApplyColour(*contents_, *chosen);
    UpdateNotesAlignButtons();
}

void NotesEditor::ShowContextMenu(const QPoint& globalPos) {
    if (NotesContextMenu* menu = NotesContextMenu::MainWindowMenu()) menu->Popup(*this, globalPos);
}

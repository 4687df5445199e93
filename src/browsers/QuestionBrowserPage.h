#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browsers/BrowserView.h"
#include "browsers/QuestionBrowser.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QToolBar;
class ListView;
class NotesEditor;
class TypeAheadComboBox;
namespace browsers {
class EditorNoteSlot;
}
class cls_ToolTipText;

// Object names of a page's controls, so each tab keeps its own.
struct QuestionPageNames {
    QString tabs, text, jump, previous, next, answers, bookmark, fullView, notesHeading, jumpLabel,
        notes, notesToolbar, list;
};

// One question-browser tab of the main screen: the question page (rendered question, step
// buttons, jump list, answers and bookmark boxes, full-view button, notes panel) and the list
// page. It shows what its presenter decides and forwards the user's events to it.
class QuestionBrowserPage : public QWidget, private browsers::BrowserView {
    Q_OBJECT
public:
    // The positions of Tabs' pages.
    enum Page : int { kQuestionPage = 0, kListPage = 1 };

    QuestionBrowserPage(const browsers::BrowserTab& tab, const QuestionPageNames& names,
                        QWidget* parent = nullptr);
    ~QuestionBrowserPage() override;

    [[nodiscard]] browsers::QuestionBrowser& Browser() { return browser_; }
    // The tab's title label, outside the page, captioned at the first visit.
    void SetTitleLabel(QLabel* title) { title_ = title; }

    QTabWidget* Tabs = nullptr;
    QTextEdit* QuestionBox = nullptr;
    TypeAheadComboBox* Jump = nullptr;
    QPushButton* PreviousButton = nullptr;
    QPushButton* NextButton = nullptr;
    QCheckBox* AnswersBox = nullptr;
    QCheckBox* BookmarkBox = nullptr;
    QPushButton* FullViewButton = nullptr;
    QLabel* JumpLabel = nullptr;
    // The notes panel: heading and the notes editor with its toolbar and text.
    QWidget* NotesPanel = nullptr;
    QLabel* NotesHeading = nullptr;
    NotesEditor* NoteEditor = nullptr;
    QToolBar* NotesToolbar = nullptr;
    QTextEdit* NotesContents = nullptr;
    ListView* List = nullptr;

signals:
    void fullViewRequested();
    // A double-click found the list emptied since it was filled.
    void listEmptied();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetCaptions(const browsers::BrowserCaptions& captions) override;
    void FillJumpList(int count) override;
    void ClearJumpText() override;
    void SetPageCaption(const std::string& caption) override;
    void SetStepButtons(bool previousEnabled, bool nextEnabled) override;
    void ShowQuestion(const browsers::RenderedQuestion& page) override;
    void ShowNoQuestion() override;
    void SetAnswersBox(bool ticked) override;
    void SetBookmarkBox(bool ticked) override;
    void ShowQuestionPage() override;
    void FillList(const std::vector<std::string>& headers, std::size_t rows) override;

    // Builds the list page from the last fill; the page is built when it is first shown.
    void ApplyList();
    void ShowRowTip(int rowNumber);

    browsers::QuestionBrowser browser_;
    std::unique_ptr<browsers::EditorNoteSlot> noteSlot_;
    QLabel* title_ = nullptr;
    std::unique_ptr<cls_ToolTipText> tip_;
    int tipRow_ = -1;
    // The headers of a fill not shown yet; its rows are the presenter's list.
    std::optional<std::vector<std::string>> pendingHeaders_;
};

// Whether an event on a question box hands the focus on: a click, the focus itself, or any
// key but those that scroll the box.
bool HandsFocusOn(const QEvent& event);

// Puts a rendered question into a text box: CR LF as paragraphs, the picture inserted at
// its place (never through the clipboard), every paragraph indented, the caret at the top.
void ShowRenderedQuestion(QTextEdit& box, const browsers::RenderedQuestion& page);

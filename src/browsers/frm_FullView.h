#pragma once

#include <QDialog>

#include <memory>

#include "browsers/BrowserView.h"
#include "browsers/EditorNoteSlot.h"
#include "browsers/QuestionBrowser.h"
#include "core/FullViewRequest.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;
class QToolBar;
class TypeAheadComboBox;

// The full-view window: one question of its opener's list at a time in a large read-only
// box, with navigation, the answers and bookmark boxes and the question's notes panel. A
// frameless modal window; the close button, Escape and the window manager all leave it
// through one unload, which saves the note and tells the opener where the user left it.
class frm_FullView : public QDialog, private browsers::BrowserView {
    Q_OBJECT
public:
    explicit frm_FullView(QWidget* owner = nullptr);

    // Opens the window over the request modally and returns once it has closed.
    static FullViewResult Show(QWidget* owner, FullViewRequest request);

    // Form_Load: the list, start position, answers box and statistics of the opener.
    void Form_Load(FullViewRequest request);
    [[nodiscard]] const FullViewResult& Result() const { return result_; }
    [[nodiscard]] browsers::QuestionBrowser& Browser() { return browser_; }

    void done(int code) override;

    QTextEdit* RichTextBox1 = nullptr;
    QWidget* Picture1 = nullptr;
    QPushButton* Command14 = nullptr;  // close
    QLabel* Label8 = nullptr;
    TypeAheadComboBox* Combo1 = nullptr;
    QCheckBox* Check1 = nullptr;  // answers
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QCheckBox* Check2 = nullptr;  // bookmark
    QLabel* StatusBar1 = nullptr;
    // The notes panel: heading and the notes editor with its toolbar and text.
    QWidget* MyNotes = nullptr;
    QLabel* lbl_MyNotes = nullptr;
    NotesEditor* MyNotes1_Editor = nullptr;
    QToolBar* MyNotes1_Toolbar = nullptr;
    QTextEdit* MyNotes1_Contents = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetCaptions(const browsers::BrowserCaptions& captions) override;
    void FillJumpList(int count) override;
    void ClearJumpText() override;
    void SetPageCaption(const std::string&) override {}
    void SetStepButtons(bool previousEnabled, bool nextEnabled) override;
    void ShowQuestion(const browsers::RenderedQuestion& page) override;
    void ShowNoQuestion() override;
    void SetAnswersBox(bool ticked) override;
    void SetBookmarkBox(bool ticked) override;
    void ShowQuestionPage() override {}
    void FillList(const std::vector<std::string>&, std::size_t) override {}

    browsers::QuestionBrowser browser_;
    std::unique_ptr<browsers::EditorNoteSlot> noteSlot_;
    FullViewResult result_;
    bool unloaded_ = false;
};

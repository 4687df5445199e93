#include "exam/mod_MyCurrentExam.h"

#include "formats/TextRules.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_ComboBox.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/QuestionLookup.h"
#include "exam/frm_Exam.h"
#include "exam/mod_Exam.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"
#include "platform/TextCodec.h"
#include "platform/mod_Picture.h"

namespace mod_MyCurrentExam {

namespace {

constexpr qreal kTextIndent = 18;  // pixels before every line of the question and explanation

std::string_view field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

// Picture names are compared trimmed of blanks and without regard to case.
std::string pictureKey(std::string_view name) {
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

const AttachedFile* findPicture(std::string_view name) {
    const std::string wanted = pictureKey(name);
    for (const AttachedFile& picture : QuestionPictures)
        if (pictureKey(picture.Name) == wanted) return &picture;
    return nullptr;
}

bool contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

// A blank line, the text, a blank line; every line indented. The picture goes into the
// document itself (never through the clipboard): before the text or after it.
void showText(QTextEdit* box, const std::string& text, const QPixmap& picture = {},
              bool pictureAbove = false, std::int32_t questionId = 0) {
    QString plain = platform::toQt("\r\n" + text + "\r\n\r\n");
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setPlainText(plain);
    QTextDocument* document = box->document();
    QTextCursor cursor(document);
    if (!picture.isNull()) {
        const QUrl url(QStringLiteral("exam-picture:%1").arg(questionId));
        document->addResource(QTextDocument::ImageResource, url, picture.toImage());
        cursor.setPosition(pictureAbove ? 1 : document->characterCount() - 1);
        cursor.insertImage(url.toString());
        if (pictureAbove) cursor.insertBlock();
    }
    cursor.select(QTextCursor::Document);
    QTextBlockFormat indent;
    indent.setLeftMargin(kTextIndent);
    cursor.mergeBlockFormat(indent);
    box->moveCursor(QTextCursor::Start);
}

void setHeadings(frm_Exam& window, const std::string& type, const std::string& category,
                 const std::string& level) {
    for (int k = 0; k < 2; ++k) {
        window.lbl_Exam_Type[k]->setText(
            platform::toQt(SystemVars.ExamTexts(exam_text::kExamLabel) + " " + type));
        window.lbl_Exam_Category[k]->setText(
            platform::toQt(SystemVars.ExamTexts(exam_text::kObjectiveLabel) + " " + category));
        window.lbl_Exam_Difficulty[k]->setText(
            platform::toQt(SystemVars.ExamTexts(exam_text::kLevelLabel) + " " + level));
    }
}

// Answer mode 1 offers the explanation once the answer is wrong.
void showExplanationTab(frm_Exam& window, const QuestionState& state,
                        const QuestionRecord& question) {
    if (CurrentExam.AnswerMode != 1) return;
    const bool wrong =
        state.GivenAnswers &&
        !mod_Exam::IsAnswerCorrect(state.AnswerKey, state.GivenAnswers, question.QuestionType);
    window.SSTab2->setTabVisible(frm_Exam::kExplanationTab, wrong);
    window.SSTab2->setTabEnabled(frm_Exam::kExplanationTab, wrong);
}

void ClearChoices(frm_Exam& window) {
    const QScopedValueRollback updating(window.UpdatingChoices, true);
    window.lbl_Choices_Type->hide();
    window.lbl_Choices_TypeTag.clear();
    window.check_Review[0]->setChecked(false);
    for (QCheckBox* box : window.choice_multiple_checkbox) {
        box->setText(QString());
        box->setChecked(false);
        box->hide();
        box->setEnabled(false);
    }
    for (QRadioButton* option : window.choices_single_optionbutton) {
        // An exclusive button cannot be unselected on its own.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
        option->setText(QString());
        option->hide();
        option->setEnabled(false);
    }
    for (QLabel* label : window.Label) {
        label->hide();
        label->setEnabled(false);
        label->clear();
    }
    window.choices_fill_in_the_blanks->clear();
    window.choices_fill_in_the_blanks->hide();
    window.choices_fill_in_the_blanks->setEnabled(false);
}

void ShowChoiceRows(frm_Exam& window, const std::string& choices, int answerType) {
    std::string caption = SystemVars.TypeNames(answerType);
    int correct = 0;
    const std::vector<std::string_view> rows = formats::Split(choices, "<c>");
    for (std::size_t k = 0; k < rows.size(); ++k) {
        window.LoadChoiceRow(k, answerType);
        QAbstractButton* control =
            answerType == kSingleAnswerType
                ? static_cast<QAbstractButton*>(window.choices_single_optionbutton[k])
                : window.choice_multiple_checkbox[k];
        const std::vector<std::string_view> fields = formats::Split(rows[k], "<f>");
        control->setText(platform::toQt(field(fields, 2)));
        window.Label[k]->setText(platform::toQt(field(fields, 3)));
        for (QWidget* widget :
             {static_cast<QWidget*>(control), static_cast<QWidget*>(window.Label[k])}) {
            widget->show();
            widget->setEnabled(true);
        }
        const std::string_view mark = field(fields, 0);
        int value = 0;
        std::from_chars(mark.data(), mark.data() + mark.size(), value);
        if (value == 1) ++correct;
    }
    if (answerType == kMultipleAnswerType) {
        caption += "(" + SystemVars.TypeNames(10) + " " + std::to_string(correct) + ")";
        window.lbl_Choices_TypeTag = std::to_string(correct);
    }
    window.lbl_Choices_Type->setText(platform::toQt(caption));
    window.lbl_Choices_Type->show();
}

void ShowFillInTheBlank(frm_Exam& window) {
    window.lbl_Choices_Type->setText(platform::toQt(SystemVars.TypeNames(6)));
    window.lbl_Choices_Type->show();
    window.choices_fill_in_the_blanks->setEnabled(true);
    window.choices_fill_in_the_blanks->show();
}

int selectionLimit(const frm_Exam& window) {
    int limit = 0;
    const std::string& tag = window.lbl_Choices_TypeTag;
    std::from_chars(tag.data(), tag.data() + tag.size(), limit);
    return limit;
}

// Once as many boxes are checked as the question has correct choices, the others are off.
void applySelectionLimit(frm_Exam& window) {
    const auto& boxes = window.choice_multiple_checkbox;
    int checked = 0;
    for (const QCheckBox* box : boxes)
        if (!box->isHidden() && box->isChecked()) ++checked;
    const bool full = checked >= selectionLimit(window);
    for (std::size_t k = 0; k < boxes.size() && k < window.Label.size(); ++k) {
        if (boxes[k]->isHidden()) continue;
        const bool enabled = !full || boxes[k]->isChecked();
        boxes[k]->setEnabled(enabled);
        window.Label[k]->setEnabled(enabled);
    }
}

// keepText leaves the fill-in box as the user is typing it (a stored answer holds only the
// pieces between commas).
void ShowGivenAnswer(frm_Exam& window, bool keepText) {
    const QuestionState* state = exam::CurrentExamSession.CurrentState();
    if (!state) return;
    const QScopedValueRollback updating(window.UpdatingChoices, true);
    if (window.Choices_Inner->isEnabled()) window.Choices_Reset->setEnabled(true);
    for (QCheckBox* review : window.check_Review)
        review->setChecked(state->Marked);
    if (!state->GivenAnswers) {
        window.Choices_Reset->setEnabled(false);
        return;
    }
    const std::vector<std::string>& given = *state->GivenAnswers;
    if (window.ShownAnswerType == kMultipleAnswerType) {
        int checked = 0;
        const auto& boxes = window.choice_multiple_checkbox;
        for (std::size_t k = 0; k < boxes.size() && k < window.Label.size(); ++k) {
            if (window.Label[k]->text().isEmpty()) continue;
            const bool chosen = contains(given, platform::fromQt(boxes[k]->text()));
            boxes[k]->setChecked(chosen);
            if (chosen) ++checked;
        }
        if (checked == selectionLimit(window)) applySelectionLimit(window);
    } else if (window.ShownAnswerType == kSingleAnswerType) {
        const auto& options = window.choices_single_optionbutton;
        for (std::size_t k = 0; k < options.size() && k < window.Label.size(); ++k) {
            if (window.Label[k]->text().isEmpty()) continue;
            if (contains(given, platform::fromQt(options[k]->text()))) {
                options[k]->setChecked(true);
                break;
            }
        }
    } else if (window.ShownAnswerType == kFillInAnswerType && !keepText) {
        window.choices_fill_in_the_blanks->setText(platform::toQt(given.front()));
    }
}

// The panel starts scrolled to the top.
void ArrangeChoicesScroll(frm_Exam& window) {
    window.LayoutChoices();
    window.Choices_Vscroll->setValue(0);
    window.Choices_Vscroll_Change(0);
}

// The bank has no question of this id: nothing to show and nothing to record.
void showNoQuestion(frm_Exam& window) {
    window.ShownAnswerType = 0;
    window.RichTextBox1Tag.clear();
    setHeadings(window, "", "", "");
    window.RichTextBox1->clear();
    window.RichTextBox2->clear();
    ClearChoices(window);
    ArrangeChoicesScroll(window);
    for (QWidget* control : {window.Choices_Inner, static_cast<QWidget*>(window.Choices_Reset),
                             static_cast<QWidget*>(window.check_Review[0]),
                             static_cast<QWidget*>(window.check_Review[1])})
        control->setEnabled(false);
}

std::string answerOnControls(frm_Exam& window) {
    std::string answer;
    if (window.ShownAnswerType == kMultipleAnswerType) {
        applySelectionLimit(window);
        for (const QCheckBox* box : window.choice_multiple_checkbox) {
            if (box->isHidden() || !box->isChecked()) continue;
            if (!answer.empty()) answer += ',';
            answer += platform::fromQt(box->text());
        }
    } else if (window.ShownAnswerType == kSingleAnswerType) {
        for (const QRadioButton* option : window.choices_single_optionbutton)
            if (!option->isHidden() && option->isChecked())
                answer = platform::fromQt(option->text());
    } else if (window.ShownAnswerType == kFillInAnswerType) {
        answer = platform::fromQt(window.choices_fill_in_the_blanks->text());
    }
    return answer;
}

}  // namespace

void ShowQuestion(std::int16_t n) {
    frm_Exam* window = exam::ExamWindow();
    auto& session = exam::CurrentExamSession;
    if (!window) return;
    const bool notesShown = !window->MyNotes->isHidden();
    if (notesShown && !window->SaveShownNote()) {
        // Held: the question whose note is open stays, wherever the caller was going.
        CurrentQuestionIndex = window->ShownQuestionIndex;
        if (window->Choices_Jump->currentIndex() >= 0)
            window->Choices_Jump->setCurrentIndex(CurrentQuestionIndex);
        return;
    }
    if (!session.GoTo(n)) return;
    window->ShownQuestionIndex = n;
    const QuestionState& state = *session.CurrentState();
    const int count = session.QuestionCount();

    window->SSTab2->setTabText(
        0, platform::toQt(SystemVars.ExamTexts(exam_text::kQuestion) + " " + std::to_string(n + 1) +
                          " / " + std::to_string(count)));
    for (QPushButton* previous : window->Choices_Previous)
        previous->setEnabled(n != 0);
    for (QPushButton* next : window->Choices_Next)
        next->setEnabled(n != count - 1);

    exam::QuestionLookup lookup;
    const QuestionRecord* question = lookup.Question(state.QuestionID);
    if (!question) {
        showNoQuestion(*window);
        if (notesShown) ShowQuestionNotes();
        return;
    }
    setHeadings(*window, SystemVars.GroupNames(question->GroupCode), question->Topic,
                SystemVars.LevelNames(question->Level));

    window->RichTextBox1Tag = std::to_string(question->QuestionID);
    QPixmap picture;
    if (!question->PictureName.empty()) {
        if (const AttachedFile* file = findPicture(question->PictureName))
            picture = mod_Picture::PictureFromBytes(file->Bytes);
    }
    const bool above = question->QuestionText.find("above") != std::string::npos;
    showText(window->RichTextBox1, question->QuestionText, picture, above, question->QuestionID);

    // Filled whatever the tab's state, so that a tab shown later (review) is up to date.
    showExplanationTab(*window, state, *question);
    showText(window->RichTextBox2, question->Explanation);

    ClearChoices(*window);
    window->ShownAnswerType = question->QuestionType;
    if (question->QuestionType == kSingleAnswerType ||
        question->QuestionType == kMultipleAnswerType)
        ShowChoiceRows(*window, question->Choices, question->QuestionType);
    else if (question->QuestionType == kFillInAnswerType)
        ShowFillInTheBlank(*window);
    const bool reviewable = !session.InReview();
    for (QCheckBox* review : window->check_Review)
        review->setEnabled(reviewable);
    // The panel takes answers as soon as the question shows; a paused, graded or timed-out
    // exam keeps it off.
    window->Choices_Inner->setEnabled(session.AcceptsAnswers());
    ShowGivenAnswer(*window, false);
    ArrangeChoicesScroll(*window);
    if (!window->Choices_Inner->isEnabled()) window->Choices_Reset->setEnabled(false);
    if (window->Choices_Jump->currentIndex() >= 0) window->Choices_Jump->setCurrentIndex(n);
    if (notesShown) ShowQuestionNotes();
}

void ShowQuestionNotes() {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    const std::string& tag = window->RichTextBox1Tag;
    std::int32_t id = 0;
    const char* end = tag.data() + tag.size();
    if (tag.empty() || std::from_chars(tag.data(), end, id).ptr != end)
        window->MyNotes_Editor->ShowBlankPage();
    else
        mod_MyNotes::LoadMyNotes(id, *window->MyNotes_Editor);
}

void RecordAnswer() {
    frm_Exam* window = exam::ExamWindow();
    auto& session = exam::CurrentExamSession;
    const QuestionState* state = session.CurrentState();
    if (!window || !state || window->RichTextBox1Tag.empty()) return;
    const bool marked = window->check_Review[0]->isChecked();
    const std::string answer = answerOnControls(*window);
    // Marks can still change once the answers are closed (time up, stopped clock); an answer
    // only while the panel that holds it is enabled.
    const bool stored = session.AcceptsAnswers() && window->Choices_Inner->isEnabled()
                            ? session.RecordAnswer(answer, marked)
                            : session.SetMarked(CurrentQuestionIndex, marked);

    RefreshStatusCounts();
    // Controls that were refused show the stored answer again; a graded exam closes them.
    ShowGivenAnswer(*window, stored);
    if (!stored && session.InReview()) {
        for (QWidget* control :
             {window->Choices_Inner, static_cast<QWidget*>(window->Choices_Reset),
              static_cast<QWidget*>(window->check_Review[0]),
              static_cast<QWidget*>(window->check_Review[1])})
            control->setEnabled(false);
    }
    exam::QuestionLookup lookup;
    if (const QuestionRecord* question = lookup.Question(state->QuestionID))
        showExplanationTab(*window, *state, *question);
    if (window->SSTab2->currentIndex() == frm_Exam::kResultsTab)
        UpdateQuestionListRow(CurrentQuestionIndex);
    if (CurrentExam.ShowScore)
        window->SSTab2->setTabText(frm_Exam::kResultsTab, platform::toQt(CurrentExam.ScoreText));
}

}  // namespace mod_MyCurrentExam

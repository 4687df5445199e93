#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "browsers/QuestionRenderer.h"

namespace browsers {

// The captions of a question view, from its texts member.
struct BrowserCaptions {
    std::string Title;         // 0
    std::string QuestionPage;  // 1
    std::string ListPage;      // 2
    std::string NotesHeading;  // 3
    std::string JumpLabel;     // 4
    std::string Previous;      // 5
    std::string Next;          // 6
    std::string Answers;       // 7
    std::string Bookmark;      // 8
    std::string FullView;      // 9
    std::string Close;         // 11
};

// One row of the list page: number, exam, objective, level, question. It carries only the
// short texts; the objective and question are the bank's, read by the id when shown.
struct BrowserRow {
    std::int32_t QuestionId = 0;
    std::string Number;
    std::string Exam;
    std::string Level;
    bool operator==(const BrowserRow&) const = default;
};

// The controls a question view shows its state in; the page widget and the full view
// implement it.
class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual void SetCaptions(const BrowserCaptions& captions) = 0;
    virtual void FillJumpList(int count) = 0;
    virtual void ClearJumpText() = 0;
    virtual void SetPageCaption(const std::string& caption) = 0;
    virtual void SetStepButtons(bool previousEnabled, bool nextEnabled) = 0;
    virtual void ShowQuestion(const RenderedQuestion& page) = 0;
    // No question to show (an empty list, or one gone from the bank): no question, no note.
    virtual void ShowNoQuestion() = 0;
    virtual void SetAnswersBox(bool ticked) = 0;
    virtual void SetBookmarkBox(bool ticked) = 0;
    virtual void ShowQuestionPage() = 0;
    // The list page now has `rows` rows, made by the presenter's ListRow when shown.
    virtual void FillList(const std::vector<std::string>& headers, std::size_t rows) = 0;
};

}  // namespace browsers

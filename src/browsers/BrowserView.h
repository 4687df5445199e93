#pragma once

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

// One row of the list page: number, exam, objective, level, question.
using BrowserRow = std::vector<std::string>;

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
    // The list is empty: no question, no note.
    virtual void ShowNoQuestion() = 0;
    virtual void SetAnswersBox(bool ticked) = 0;
    virtual void SetBookmarkBox(bool ticked) = 0;
    virtual void ShowQuestionPage() = 0;
    virtual void FillList(const std::vector<std::string>& headers,
                          std::vector<BrowserRow> rows) = 0;
};

}  // namespace browsers

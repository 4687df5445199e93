#pragma once

#include <memory>

class QWidget;
class cls_ToolTipText;
struct QuestionRecord;

// The tip over a row of a question list: the question's type and how to open it, then its
// text. Without a question the tip goes, so that no other row's tip stands over the row.
void ShowQuestionRowTip(std::unique_ptr<cls_ToolTipText>& tip, QWidget* list,
                        const QuestionRecord* question);

#include "core/QuestionRowTip.h"

#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/cls_ToolTipText.h"

void ShowQuestionRowTip(std::unique_ptr<cls_ToolTipText>& tip, QWidget* list,
                        const QuestionRecord* question) {
    if (!question) {
        tip.reset();
        return;
    }
    if (!tip) tip = std::make_unique<cls_ToolTipText>();
    tip->ParentControl(list);
    tip->Style(0);
    tip->Title(SystemVars.TypeNames(question->QuestionType) +
               "     (Double-Click to go to question)");
    tip->TipText(question->QuestionText);
    tip->Create();
}

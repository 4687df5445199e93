#include "exam/mod_MyCurrentExam.h"

namespace mod_MyCurrentExam {

void ShowQuestion(std::int16_t) {}

}  // namespace mod_MyCurrentExam

// The question bank text (questions.db).
#include <string_view>

#include "FuzzSupport.h"
#include "core/mod_Question.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mod_Question::ParseQuestions(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

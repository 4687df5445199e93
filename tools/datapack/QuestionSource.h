#pragma once

#include <string>
#include <vector>

#include "SourceText.h"
#include "core/QuestionBank.h"

namespace datapack {

// The readable question source: records of "key: value" lines separated by blank lines.
// Keys: id, group, objective, level, type, picture (optional), question, then "choice:" or
// "choice*:" (correct) lines of "CAPTION | text" for types 1 and 2, or one "answer:" line
// for type 6, then explanation. A line starting with two spaces continues the value on a
// new line. Lines starting with '#' are comments.
struct QuestionParse {
    std::vector<QuestionRecord> questions;
    std::vector<SourceError> errors;
};
QuestionParse parseQuestionSource(const std::vector<std::string>& lines, const std::string& file);

// questions.db: fields joined by character 31, questions by character 30.
std::string questionsDb(const std::vector<QuestionRecord>& questions);

}  // namespace datapack

#include "QuestionSource.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "formats/TextRules.h"
#include "formats/Windows1252.h"

namespace datapack {

namespace {

struct Draft {
    int line = 0;
    std::vector<std::pair<std::string, std::string>> fields;  // key, UTF-8 value
};

std::vector<Draft> splitRecords(const std::vector<std::string>& lines) {
    std::vector<Draft> drafts;
    bool inRecord = false;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (!line.empty() && line.front() == '#') continue;
        if (trimWhitespace(line).empty()) {
            inRecord = false;
            continue;
        }
        if (!inRecord) {
            drafts.push_back({static_cast<int>(n) + 1, {}});
            inRecord = true;
        }
        Draft& draft = drafts.back();
        if (line.starts_with("  ") && !draft.fields.empty()) {
            draft.fields.back().second += "\r\n" + std::string(trimWhitespace(line));
            continue;
        }
        const auto colon = line.find(':');
        const std::string key = colon == std::string::npos ? line : line.substr(0, colon);
        const std::string value =
            colon == std::string::npos ? "" : std::string(trimWhitespace(line.substr(colon + 1)));
        draft.fields.emplace_back(std::string(trimWhitespace(key)), value);
    }
    return drafts;
}

template <class T>
bool toNumber(const std::string& text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

class RecordBuilder {
public:
    RecordBuilder(const Draft& draft, const std::string& file, std::vector<SourceError>& errors)
        : draft_(draft), file_(file), errors_(errors) {}

    bool build(QuestionRecord& q) {
        int correct = 0;
        std::vector<std::string> choices;
        for (const auto& [key, value] : draft_.fields) {
            if (key == "id")
                number(value, q.QuestionID, key);
            else if (key == "group")
                number(value, q.GroupCode, key);
            else if (key == "level")
                number(value, q.Level, key);
            else if (key == "type")
                number(value, q.QuestionType, key);
            else if (key == "objective")
                q.Topic = text(value, key);
            else if (key == "picture")
                q.PictureName = pictureName(value);
            else if (key == "question")
                q.QuestionText = text(value, key);
            else if (key == "explanation")
                q.Explanation = text(value, key);
            else if (key == "answer") {
                choices.push_back("1<f><f><f>" + text(value, key));
                ++correct;
            } else if (key == "choice" || key == "choice*") {
                const auto bar = value.find(" | ");
                if (bar == std::string::npos) {
                    error("a choice needs 'CAPTION | text'");
                    continue;
                }
                const bool right = key == "choice*";
                correct += right ? 1 : 0;
                choices.push_back(std::string(right ? "1" : "0") + "<f><f>" +
                                  text(value.substr(0, bar), key) + "<f>" +
                                  text(value.substr(bar + 3), key));
            } else {
                error("unknown key '" + key + "'");
            }
        }
        for (std::size_t i = 0; i < choices.size(); ++i)
            q.Choices += (i ? "<c>" : "") + choices[i];
        checkShape(q, correct);
        return ok_;
    }

private:
    template <class T>
    void number(const std::string& value, T& out, const std::string& key) {
        if (!toNumber(value, out)) error(key + " is not a number: " + value);
    }

    std::string text(const std::string& value, const std::string& key) {
        bool encodable = true;
        std::string converted = toWindows1252(value, encodable);
        if (!encodable) error(key + ": text outside Windows-1252");
        if (converted.find_first_of(std::string("\x1E\x1F\0", 3)) != std::string::npos)
            error(key + ": control characters 0, 30 and 31 are separators");
        return converted;
    }

    // The program finds a picture by its name without regard to case, which it folds for
    // ASCII letters only.
    std::string pictureName(const std::string& value) {
        if (std::any_of(value.begin(), value.end(), [](char c) { return c & 0x80; }))
            error("picture: the file name must be ASCII: " + value);
        return text(value, "picture");
    }

    void checkShape(const QuestionRecord& q, int correct) {
        if (q.QuestionID <= 0) error("id must be a positive number");
        if (q.GroupCode < 0 || q.GroupCode > 99) error("group must be 0 to 99");
        if (q.Level < 1 || q.Level > 3) error("level must be 1, 2 or 3");
        if (q.Topic.empty() || q.QuestionText.empty()) error("objective and question are needed");
        if ((q.QuestionType == kSingleAnswerType || q.QuestionType == kFillInAnswerType) &&
            correct != 1)
            error("types 1 and 6 need exactly one correct answer");
        if (q.QuestionType == kMultipleAnswerType && correct < 1)
            error("type 2 needs a correct choice");
        if (q.QuestionType != kSingleAnswerType && q.QuestionType != kMultipleAnswerType &&
            q.QuestionType != kFillInAnswerType)
            error("type must be 1, 2 or 6");
    }

    void error(std::string message) {
        errors_.push_back({file_, draft_.line, std::move(message)});
        ok_ = false;
    }

    const Draft& draft_;
    const std::string& file_;
    std::vector<SourceError>& errors_;
    bool ok_ = true;
};

}  // namespace

QuestionParse parseQuestionSource(const std::vector<std::string>& lines, const std::string& file) {
    QuestionParse result;
    std::set<std::int32_t> ids;
    // Objectives by the program's comparison (trimmed, lower case): first spelling and line.
    std::map<std::string, std::pair<std::string, int>> objectives;
    bool practiceSet = false;
    for (const Draft& draft : splitRecords(lines)) {
        QuestionRecord q;
        if (!RecordBuilder(draft, file, result.errors).build(q)) continue;
        if (!ids.insert(q.QuestionID).second) {
            result.errors.push_back(
                {file, draft.line, "id " + std::to_string(q.QuestionID) + " is used twice"});
            continue;
        }
        const auto [known, added] = objectives.try_emplace(
            formats::LowerCase(formats::TrimSpaces(q.Topic)), q.Topic, draft.line);
        if (!added && known->second.first != q.Topic) {
            result.errors.push_back(
                {file, draft.line,
                 "objective '" + formats::Windows1252ToUtf8(q.Topic) + "' differs from '" +
                     formats::Windows1252ToUtf8(known->second.first) + "' (line " +
                     std::to_string(known->second.second) + ") only in letter case"});
            continue;
        }
        practiceSet = practiceSet || q.GroupCode >= kFirstPracticeGroup;
        result.questions.push_back(std::move(q));
    }
    if (!practiceSet && result.errors.empty())
        result.errors.push_back({file, static_cast<int>(lines.size()),
                                 "the bank has no practice set (no question of group " +
                                     std::to_string(kFirstPracticeGroup) + " or above)"});
    return result;
}

std::string questionsDb(const std::vector<QuestionRecord>& questions) {
    std::string db;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const QuestionRecord& q = questions[i];
        if (i) db += '\x1E';
        const std::string fields[] = {std::to_string(q.QuestionID),
                                      std::to_string(q.GroupCode),
                                      q.Topic,
                                      std::to_string(q.Level),
                                      std::to_string(q.QuestionType),
                                      std::to_string(q.Field5),
                                      q.QuestionText,
                                      q.Explanation,
                                      q.Field8,
                                      q.PictureName,
                                      q.Choices};
        for (std::size_t f = 0; f < std::size(fields); ++f)
            db += (f ? "\x1F" : "") + fields[f];
    }
    return db;
}

}  // namespace datapack

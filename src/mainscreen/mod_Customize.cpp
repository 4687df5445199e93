#include "mainscreen/mod_Customize.h"

#include <algorithm>
#include <string_view>

#include "core/QuestionBank.h"
#include "exam/QuestionLookup.h"
#include "mainscreen/CustomExamFile.h"

namespace mod_Customize {

namespace {

std::vector<std::string> splitCodes(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string_view::npos;
         start = comma + 1)
        parts.emplace_back(text.substr(start, comma - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

// Per checked line and level, how many questions it has taken so far.
class QuotaCounter {
public:
    explicit QuotaCounter(const std::vector<CategoryLine>& lines) : lines_(lines) {
        taken_.resize(lines.size());
        for (const CategoryLine& line : lines)
            if (line.Checked)
                for (std::string& code : splitCodes(line.Groups))
                    codes_.push_back(std::move(code));
    }

    // Membership is exact: code 1 is not in "11,46".
    bool IsQuestionSelected(const QuestionRecord& question) {
        if (question.Level < 1 || question.Level > 3) return false;
        const std::string group = std::to_string(question.GroupCode);
        if (std::find(codes_.begin(), codes_.end(), group) == codes_.end()) return false;
        const auto level = static_cast<std::size_t>(question.Level - 1);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const int wanted = lines_[i].Wanted[level];
            if (!lines_[i].Checked || wanted <= 0 || taken_[i][level] >= wanted) continue;
            ++taken_[i][level];
            return true;
        }
        return false;
    }

private:
    const std::vector<CategoryLine>& lines_;
    std::vector<std::string> codes_;
    std::vector<std::array<int, 3>> taken_;
};

}  // namespace

std::string JoinLineGroups(const std::vector<CategoryLine>& lines, bool checkedOnly) {
    std::string joined;
    for (const CategoryLine& line : lines) {
        if (checkedOnly && !line.Checked) continue;
        if (!joined.empty()) joined += ',';
        joined += line.Groups;
    }
    return joined;
}

int SelectedTotal(const std::vector<CategoryLine>& lines) {
    int total = 0;
    for (const CategoryLine& line : lines)
        if (line.Checked)
            for (const int wanted : line.Wanted)
                total += wanted;
    return total;
}

void BuildCustomQuestionBank(const std::vector<CategoryLine>& lines) {
    // A second round must not take the first round's subset for the full bank.
    if (!QuestionBankBackup) QuestionBankBackup = std::move(QuestionBank);
    QuestionBank.clear();
    QuotaCounter quota(lines);
    for (const QuestionRecord& question : *QuestionBankBackup)
        if (quota.IsQuestionSelected(question)) QuestionBank.push_back(question);
    exam::InvalidateQuestionLookup();
}

void RestoreQuestionBank() {
    if (!QuestionBankBackup) return;
    QuestionBank = std::move(*QuestionBankBackup);
    QuestionBankBackup.reset();
    CustomExamTable.clear();
    exam::InvalidateQuestionLookup();
}

}  // namespace mod_Customize

#pragma once

#include <array>
#include <string>
#include <vector>

// The custom-exam tab's question subset: built from the tab's lines when the user goes on to
// the Customize dialog, and put back afterwards.
namespace mod_Customize {

// One line of the tab: an exam kind's group codes and the wanted count per level.
struct CategoryLine {
    bool Checked = false;
    std::string Groups;           // "11,46", "51", ...
    std::array<int, 3> Wanted{};  // beginner, intermediate, expert
};

// The lines' codes joined by ",", from line 0 up: the checked lines', or every line's.
std::string JoinLineGroups(const std::vector<CategoryLine>& lines, bool checkedOnly);
// Sum of the wanted counts of the checked lines.
int SelectedTotal(const std::vector<CategoryLine>& lines);

// Keeps the full bank in QuestionBankBackup and lets QuestionBank hold, in bank order, the
// questions the checked lines ask for. A question of any checked line's groups is charged to
// the first checked line that still has room at its level. Built from the backup when a
// subset is already in place.
void BuildCustomQuestionBank(const std::vector<CategoryLine>& lines);

// Puts the full bank back and forgets the remembered Customize settings in memory; nothing
// when no subset is in place.
void RestoreQuestionBank();

}  // namespace mod_Customize

#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

namespace testsupport {

void PrintTo(const ShownBox& box, std::ostream* os) {
    *os << "{text \"" << box.text << "\", title \"" << box.title << "\", style " << box.style
        << "}";
}

ScriptedMessageBoxes::ScriptedMessageBoxes()
    : previous_(platform::SetMessageBoxHandler(
          [this](const platform::MessageBoxRequest& request) { return answer(request); })) {}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    platform::SetMessageBoxHandler(std::move(previous_));
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size() << " queued message box answer(s) never used";
}

int ScriptedMessageBoxes::answer(const platform::MessageBoxRequest& request) {
    shown_.push_back({std::string(request.prompt), std::string(request.title), request.style});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box " << ::testing::PrintToString(shown_.back());
        return platform::AsksYesNo(request.style) ? platform::kNo : platform::kOk;
    }
    const int queued = answers_.front();
    answers_.pop_front();
    return queued;
}

void ScriptedMessageBoxes::expectNone() const {
    EXPECT_TRUE(shown_.empty()) << "message boxes shown: " << ::testing::PrintToString(shown_);
}

}  // namespace testsupport

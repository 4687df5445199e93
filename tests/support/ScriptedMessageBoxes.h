#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace testsupport {

// A message box as the program asked for it (Windows-1252, title already resolved).
struct ShownBox {
    std::string text;
    std::string title;
    int style = 0;
    bool operator==(const ShownBox&) const = default;
};
void PrintTo(const ShownBox& box, std::ostream* os);

// For its lifetime every message box is answered from a queue instead of being shown. A box
// with no answer queued gets its safe default (OK, or No to a question) and fails the test;
// answers still queued at the end fail it too.
class ScriptedMessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    void queue(int answer) { answers_.push_back(answer); }
    [[nodiscard]] const std::vector<ShownBox>& shown() const { return shown_; }
    // Forgets the boxes checked so far; queued answers stay.
    void clear() { shown_.clear(); }
    // Fails the test when any box has been shown so far.
    void expectNone() const;

private:
    int answer(const platform::MessageBoxRequest& request);

    platform::MessageBoxHandler previous_;
    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
};

}  // namespace testsupport

#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Historic style numbers, added together: buttons + icon + default button.
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton2 = 256;

// Historic results.
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;

// Windows-1252; the title of every box shown without one.
void SetApplicationTitle(std::string windows1252);
const std::string& ApplicationTitle();

// Shows a modal box and returns kOk, kYes or kNo. An empty title means the application title.
int MsgBox(std::string_view prompt, int style, std::string_view title = {});

[[nodiscard]] constexpr bool AsksYesNo(int style) {
    return (style & 7) == kYesNo;
}

// One box to show; the title is already resolved. The views last only for the call.
struct MessageBoxRequest {
    std::string_view prompt;
    std::string_view title;
    int style;
};
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Replaces how boxes are shown: the program installs the real box, tests answer from a script.
// Without a handler no box is shown and the safe answer (OK, or No) is returned. Returns the
// handler that was installed.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform

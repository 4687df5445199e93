#include "platform/MessageBox.h"

#include <utility>

namespace platform {

namespace {

std::string& applicationTitle() {
    static std::string title;
    return title;
}

MessageBoxHandler& installedHandler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

void SetApplicationTitle(std::string windows1252) {
    applicationTitle() = std::move(windows1252);
}

const std::string& ApplicationTitle() {
    return applicationTitle();
}

int MsgBox(std::string_view prompt, int style, std::string_view title) {
    const MessageBoxRequest request{prompt, title.empty() ? ApplicationTitle() : title, style};
    // A copy: the handler may install another one while its box is open.
    const MessageBoxHandler handler = installedHandler();
    if (handler) return handler(request);
    // Nothing can show a box (no window system yet): the safe answer.
    return AsksYesNo(style) ? kNo : kOk;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(installedHandler(), std::move(handler));
}

}  // namespace platform

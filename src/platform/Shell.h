#pragma once

#include <QUrl>

#include <functional>
#include <string_view>

namespace platform {

// Opens a mailto: link or a web address (http, https; "www.example.com" gets "http://") with
// the user's programs. The caller has already escaped the text; %XX stays as given. Any other
// scheme is refused. False when nothing was opened.
bool ShellOpen(std::string_view target);

using ShellHandler = std::function<bool(const QUrl&)>;

// Replaces how links are opened (tests record them); an empty handler restores the desktop's.
// Returns the handler that was installed.
ShellHandler SetShellHandler(ShellHandler handler);

}  // namespace platform

#pragma once

#include "platform/MessageBox.h"

namespace platform {

// A real modal box over the active window; the program installs it with
// SetMessageBoxHandler once the application object exists.
int ShowQtMessageBox(const MessageBoxRequest& request);

}  // namespace platform

#pragma once

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace mod_Forms {

// A window joins under its historic name ("frm_Exam", "mdi_Main") when it is built and leaves
// by itself when it is destroyed. The name is kept as the widget's objectName.
void Register(QWidget* window, std::string_view name);

// True while a registered window of exactly this name (case-sensitive) exists, also when its
// deletion is already scheduled.
bool IsFormLoaded(std::string_view name);

// The first window registered under the name, or nullptr.
QWidget* Find(std::string_view name);

// Unloads a window: it counts as unloaded at once and is hidden, but deleted only once
// control returns to the event loop, so none of its own handlers still running below a
// modal loop is left on a deleted object.
void Unload(QWidget* window);

// Names of the open windows in registration order.
std::vector<std::string> OpenWindowNames();

}  // namespace mod_Forms

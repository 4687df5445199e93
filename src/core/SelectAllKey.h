#pragma once

class QKeyEvent;
class QLineEdit;

// The platform's select-all key selects the whole of `box`, so that what is typed next
// replaces the text instead of joining it. True when `event` was that key: it has done its work.
bool SelectAllOnKey(QLineEdit& box, const QKeyEvent& event);

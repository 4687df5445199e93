#pragma once

// Set by the critical-error routine and by the archive reader on a read failure; stops
// start-up, makes loaders and dialogs return and lets the main window close unasked.
inline bool AbortFlag = false;

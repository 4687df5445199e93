#pragma once

// The child's side of a page's trial: reads a request from standard input, reads and lays the
// page out as its box would, with its processor time bounded, and writes its report to standard
// output. Returns the exit code.
namespace page_trial {

// Loads what trials need (the fonts, the layout's structures): in the server once, so that
// every trial shares it, and in each child before its trial is asked for, so that the pages
// its layout writes are its own by then.
void PrepareTrials();

int RunChild();

}  // namespace page_trial

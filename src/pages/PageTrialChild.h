#pragma once

#include <string>
#include <string_view>

// The child's side of a page's trial: reads a request from standard input, reads and lays the
// page out as its box would, with its processor time bounded, and writes its report to standard
// output. Returns the exit code.
namespace page_trial {

// Loads what trials need (the fonts, the layout's structures): in the server once, so that
// every trial shares it, and in each child before its trial is asked for, so that the pages
// its layout writes are its own by then.
void PrepareTrials();

int RunChild();

// What the trial just run leaves the server (the fonts its page used), and what the server
// makes of it: those fonts loaded, so that the next trials' children start with them.
std::string TrialLesson();
void LearnFromTrial(std::string_view lesson);

}  // namespace page_trial

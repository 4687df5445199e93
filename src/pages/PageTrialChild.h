#pragma once

// The child's side of a page's trial: reads a request from standard input, reads and lays the
// page out as its box would, with its processor time bounded, and writes its report to standard
// output. Returns the exit code.
namespace page_trial {

// Loads what every trial needs once (the fonts), in the server, before trials are forked.
void PrepareTrials();

int RunChild();

}  // namespace page_trial

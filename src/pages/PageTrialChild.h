#pragma once

// The child's side of a page's trial: reads a request from standard input, reads and lays the
// page out as its box would, with its own memory and processor time bounded, and writes its
// report to standard output. Returns the exit code.
namespace page_trial {

int RunChild();

}  // namespace page_trial

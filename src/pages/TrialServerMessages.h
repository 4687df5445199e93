#pragma once

#include <vector>

#include "formats/FileDescriptor.h"

// The packets the trial server exchanges with the program and with its children: a byte of
// kind, with the descriptors it hands over.
namespace page_trial {

// Sends `kind` with the trial's input and output; false when the other end is gone.
bool SendTrialEnds(int socket, char kind, int input, int output);

// One packet: its kind, with the descriptors it carries (closed on exec); 0 once the other
// end is gone.
char ReceiveMessage(int socket, std::vector<formats::FileDescriptor>& carried);

}  // namespace page_trial

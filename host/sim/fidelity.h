#pragma once
// What the simulated editor was handed that the real one does not take as documented (a bare line
// feed inside lines of code). The simulation goes on as the editor might, and the run reports it.

#include <string>
#include <vector>

#include "host/text.h"

namespace host::sim {

// Notes `text` when a line feed in it does not follow a carriage return.
void CheckLineBreaks(const char* operation, const Text& text);
// Every note since the last call, oldest first; the list is empty afterwards.
std::vector<std::string> TakeInfidelities();

}  // namespace host::sim

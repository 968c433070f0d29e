#pragma once

#include "WindowDefinition.h"

namespace lumeno {

// Loads and shows the start-up window, then runs the event loop until the program ends;
// returns the exit status.
int start(const ProgramHeader& header);

// Handles all pending events, repaints included, then returns.
void pumpEvents();

// Ends the program at once with the given exit status.
[[noreturn]] void endProgram(int status);

} // namespace lumeno

#pragma once

#include "WindowDefinition.h"

namespace lumeno {

// The program header: the start-up window Form1 and its click handlers. There is no
// start-up procedure and no other window.
const ProgramHeader& programHeader();

} // namespace lumeno

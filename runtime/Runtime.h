#pragma once

#include "WindowDefinition.h"

#include <string_view>

namespace lumeno {

class TextBox;

// Loads and shows the start-up window, then runs the event loop until the program ends;
// returns the exit status.
int start(const ProgramHeader& header);

// Handles all pending events, repaints included, then returns.
void pumpEvents();

// The text as a single-precision number, read with the decimal separators of the user's
// number format (see textToSingle in Conversions.h).
float textToSingle(std::string_view text);
// The same for a text box's text; its type mismatch names the box as the text to correct.
float textToSingle(const TextBox& box);

// Ends the program at once with the given exit status.
[[noreturn]] void endProgram(int status);

} // namespace lumeno

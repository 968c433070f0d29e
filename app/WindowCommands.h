#pragma once

namespace lumeno {

class Form;

// The click handler of cmdRestart: discards the window and brings it back as it was
// at start-up, whatever a processing run or the user changed.
void restart(Form& form);

// The click handler of Quit: ends the program at once; does not return.
[[noreturn]] void quit(Form& form);

} // namespace lumeno

#pragma once

namespace lumeno {

class Form;

// The click handler of cmdGo: maps every pixel the source box PicFrom shows through
// the brightness curve with the parameter typed into txtBrightness and draws the
// result into PicTo row by row, pumping events after every row.
//
// A failure (a parameter that is not a number, an error in the curve, an inner size
// too large) is thrown on to the error report after the window has been put back
// to idle with PicTo showing what it showed before the run. When the window is
// discarded during the run, the run stops at its next event pump.
void processingRun(Form& form);

} // namespace lumeno

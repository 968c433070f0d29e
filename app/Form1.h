#pragma once

#include "WindowDefinition.h"

namespace lumeno {

// The definition of the main window, Form1: caption, client size and controls.
const WindowDefinition& form1Definition();

} // namespace lumeno

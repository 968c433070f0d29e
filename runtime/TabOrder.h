#pragma once

#include "WindowDefinition.h"

namespace lumeno {

// The keyboard's way through a window, the same on every platform: Tab moves the focus in
// the order the definition lists the controls, passing over those that take no focus, and
// the focus starts on the first control that takes it.

// Whether a control of this kind takes the focus: every kind but the label.
bool takesFocus(ControlKind kind);

// The control that has the focus when the window is shown, or null when none takes it.
const ControlDefinition* firstFocus(const WindowDefinition& definition);

// The label that names a control of the definition for assistive technology: the label
// before it in tab order, or null.
const ControlDefinition* namingLabel(const WindowDefinition& definition,
                                     const ControlDefinition& control);

} // namespace lumeno

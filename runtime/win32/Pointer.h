#pragma once

#include <windows.h>

namespace lumeno::win32 {

// The busy pointer: the system's wait cursor.
HCURSOR busyPointer();

// Where the pointer stands over `window` or one of its controls, shows the pointer they ask
// for now, not at the pointer's next move.
void updatePointerOver(HWND window);

} // namespace lumeno::win32

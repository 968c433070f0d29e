#pragma once

#include <windows.h>

namespace lumeno::win32 {

// The density of a window and the system measures at a density, through the functions
// Windows 10 1607 brought to user32, looked up at run time so that the program starts on
// Windows 7 SP1 as well. Where they are missing, the window has its monitor's density from
// Windows 8.1's shcore, or else the system density (the one Windows 7 and 8 lay every
// program out at), and the plain functions' measures are scaled to the density asked for.
UINT dpiForWindow(HWND window);
// The frame around a client rectangle of a window of that style with no menu.
void adjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);
int systemMetricForDpi(int index, UINT dpi);
NONCLIENTMETRICSW nonClientMetricsForDpi(UINT dpi);

// Makes the functions above act as on Windows 8.1 and 10 before 1607 (withheld) or look the
// newer functions up again; for the tests of both ways.
void withholdWindows10DensityFunctions(bool withheld);

} // namespace lumeno::win32

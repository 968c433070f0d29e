// The message box on the Win32 API.
#include "Platform.h"
#include "WideText.h"

#include <windows.h>

namespace lumeno::platform {

void showErrorBox(std::string_view title, std::string_view text) {
    // Owned by the active window, which it disables meanwhile; with none active, every
    // window of the program is disabled instead.
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, win32::toWide(text).c_str(), win32::toWide(title).c_str(),
                MB_OK | MB_ICONERROR | (owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL));
}

} // namespace lumeno::platform

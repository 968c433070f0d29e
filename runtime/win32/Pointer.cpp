#include "Pointer.h"

namespace lumeno::win32 {

HCURSOR busyPointer() {
    return LoadCursorW(nullptr, IDC_WAIT);
}

void updatePointerOver(HWND window) {
    POINT at;
    if (GetCursorPos(&at) == FALSE)
        return;
    HWND under = WindowFromPoint(at);
    if (under != window && IsChild(window, under) == FALSE)
        return;
    const LRESULT hitTest = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hitTest, WM_MOUSEMOVE));
}

} // namespace lumeno::win32

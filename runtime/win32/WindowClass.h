#pragma once

#include "ErrorReport.h"

#include <windows.h>

namespace lumeno::win32 {

// A window procedure that lets no exception out into the window system, whose frames lie
// between it and the code that dispatched the message and cannot be unwound through: a
// failure that reaches it is reported and ends the program (reportFailureAndEnd), as a
// failure in the run-time ends it inside a handler. Every class registers its procedure so.
template <WNDPROC procedure>
LRESULT CALLBACK guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return procedure(window, message, wParam, lParam);
    } catch (...) {
        reportFailureAndEnd();
    }
}

// Registers one of the program's window classes; registering it again does nothing. Its
// windows get the arrow pointer and `background` (or nothing) as their background.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);

// Whether a window is of the named class.
bool isOfClass(HWND window, const wchar_t* name);

// The object behind a window of such a class, given to CreateWindowExW as its creation
// parameter; null for the few messages that come before WM_NCCREATE and for the window's
// last, WM_NCDESTROY, which lets go of the object: nothing reaches it after that.
template <class Owner> Owner* windowOwner(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    else if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The object behind a window of the named class, or null for any other window.
template <class Owner> const Owner* ownerOfClass(HWND window, const wchar_t* name) {
    return isOfClass(window, name)
               ? reinterpret_cast<const Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA))
               : nullptr;
}

} // namespace lumeno::win32

// The application and its event loop on the Win32 API.
#include "Platform.h"
#include "Runtime.h"
#include "Window.h"

#include <commctrl.h>
#include <objbase.h>
#include <optional>
#include <vector>

namespace lumeno::platform {

namespace {

std::string applicationNameText;
// Set when the event loop is to return, with the program's exit status.
std::optional<int> exitStatus;
// Discarded windows, destroyed by the event loop between two messages: the message that
// discarded one may still be on its way through that window's procedure.
std::vector<std::unique_ptr<FormWindow>> windowsToDestroy;

void dispatch(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && win32::Window::isFormWindow(root)) {
        // No button is the default, so Enter presses nothing; the dialog manager would press
        // the button that has the focus.
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN)
            return;
        // The keyboard interface of a dialog: Tab and the arrow keys move the focus; Escape
        // goes to the window as IDCANCEL, which presses nothing.
        if (IsDialogMessageW(root, &message) != FALSE)
            return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

void startApplication(std::string_view name, std::string_view /*version*/) {
    applicationNameText = name;
    // Buttons, edits and labels from common controls version 6, as the manifest asks.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // A single-threaded apartment for the accessible objects that the window hands to
    // assistive technology, COM objects of this thread; it lasts as long as the process.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

int runEventLoop() {
    MSG message;
    while (!exitStatus) {
        if (GetMessageW(&message, nullptr, 0, 0) == 0) // WM_QUIT, from outside the program
            exitStatus = static_cast<int>(message.wParam);
        else
            dispatch(message);
        windowsToDestroy.clear();
    }
    return *exitStatus;
}

void pumpEvents() {
    MSG message;
    while (!exitStatus && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        // A WM_QUIT from outside the program while a handler pumps ends the program as Quit
        // does: at once, with no further event handling; a run in progress never resumes.
        if (message.message == WM_QUIT)
            endProgram(static_cast<int>(message.wParam));
        dispatch(message);
    }
}

void exitEventLoop(int status) {
    exitStatus = status;
}

void endApplication(int /*status*/) {}

std::string applicationName() {
    return applicationNameText;
}

void destroyAfterEvent(std::unique_ptr<FormWindow> window) {
    windowsToDestroy.push_back(std::move(window));
}

} // namespace lumeno::platform

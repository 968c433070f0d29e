// The run-time's entry points on the Win32 API.
#include "Form.h"
#include "Platform.h"
#include "Runtime.h"
#include "WideText.h"
#include "Win32FormWindow.h"

#include <commctrl.h>
#include <iterator>
#include <objbase.h>
#include <optional>
#include <vector>

namespace lumeno {

namespace {

std::string applicationNameText;
// Set when the event loop is to return, with the program's exit status.
std::optional<int> exitStatus;
// Discarded windows, destroyed by the event loop between two messages: the message that
// discarded one may still be on its way through that window's procedure.
std::vector<std::unique_ptr<FormWindow>> windowsToDestroy;

void dispatch(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && Win32FormWindow::isFormWindow(root)) {
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

} // namespace

int start(const ProgramHeader& header) {
    applicationNameText = header.applicationName;
    // Buttons, edits and labels from common controls version 6, as the manifest asks.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // A single-threaded apartment for the accessible objects that the window hands to
    // assistive technology, COM objects of this thread; it lasts as long as the process.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Form form(header.startupWindow, header.bindings);
    form.showAtStart();
    const int status = runEventLoop();
    // A window closed during a handler awaits destruction; destroy it before the form.
    windowsToDestroy.clear();
    return status;
}

void pumpEvents() {
    MSG message;
    while (!exitStatus && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT)
            exitStatus = static_cast<int>(message.wParam);
        else
            dispatch(message);
    }
}

namespace platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<Win32FormWindow>(definition, form);
}

void destroyWhenIdle(std::unique_ptr<FormWindow> window) {
    windowsToDestroy.push_back(std::move(window));
}

void exitEventLoop(int status) {
    exitStatus = status;
}

std::string applicationName() {
    return applicationNameText;
}

void showErrorBox(std::string_view title, std::string_view text) {
    // Owned by the active window, which it disables meanwhile; with none active, every
    // window of the program is disabled instead.
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(),
                MB_OK | MB_ICONERROR | (owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL));
}

std::string decimalSeparator() {
    // The user's number format, with the decimal symbol they may have set themselves; at most
    // three characters and the terminating null.
    wchar_t separator[8];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       static_cast<int>(std::size(separator)));
    return length > 0 ? toUtf8(std::wstring_view(separator, length - 1)) : std::string();
}

} // namespace platform
} // namespace lumeno

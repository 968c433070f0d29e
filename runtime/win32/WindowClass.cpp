#include "WindowClass.h"

#include "RuntimeError.h"

#include <iterator>
#include <string_view>

namespace lumeno::win32 {

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw RuntimeError(ErrorKind::ControlCallFailed, "A window class cannot be registered.");
}

bool isOfClass(HWND window, const wchar_t* name) {
    wchar_t windowClass[256]; // the longest class name and its terminating null
    return window != nullptr &&
           GetClassNameW(window, windowClass, static_cast<int>(std::size(windowClass))) > 0 &&
           std::wstring_view(windowClass) == name;
}

} // namespace lumeno::win32

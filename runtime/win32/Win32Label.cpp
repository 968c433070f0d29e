#include "Win32Label.h"

#include "RuntimeError.h"
#include "WideText.h"

#include <cstdlib>
#include <string>

namespace lumeno {

namespace {

constexpr UINT wrapped = DT_WORDBREAK | DT_NOPREFIX;

bool fits(const std::wstring& caption, HFONT font, int width, int height) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    RECT needed{0, 0, width, 0};
    DrawTextW(screen, caption.c_str(), -1, &needed, wrapped | DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return needed.right <= width && needed.bottom <= height;
}

} // namespace

Win32Label::Win32Label(std::string_view caption, const RECT& box, const LOGFONTW& windowFont,
                       UINT dpi, HWND parent) {
    const std::wstring text = toWide(caption);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    // Shrinks the font a pixel at a time, down to 6 points.
    const int smallest = MulDiv(6, static_cast<int>(dpi), 72);
    LOGFONTW font = windowFont;
    for (int size = std::abs(windowFont.lfHeight);; --size) {
        font.lfHeight = -size;
        font_.reset(CreateFontIndirectW(&font));
        if (size <= smallest || fits(text, font_.get(), width, height))
            break;
    }
    HWND label = CreateWindowExW(
        0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, box.left,
        box.top, width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (label == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed,
                           "The label " + std::string(caption) + " cannot be created.");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

} // namespace lumeno

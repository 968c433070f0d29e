#include "LabelControl.h"

#include "CaptionFit.h"
#include "RuntimeError.h"
#include "WideText.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace lumeno::win32 {

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

LabelControl::LabelControl(std::string_view caption, const RECT& box, const LOGFONTW& windowFont,
                           UINT dpi, HWND parent)
    : caption_(toWide(caption)) {
    window_ = CreateWindowExW(0, L"STATIC", caption_.c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, box.left, box.top,
                              box.right - box.left, box.bottom - box.top, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed,
                           "The label " + std::string(caption) + " cannot be created.");
    place(box, windowFont, dpi);
}

void LabelControl::place(const RECT& box, const LOGFONTW& windowFont, UINT dpi) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(window_, nullptr, box.left, box.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The caption in the largest font that fits the label (CaptionFit.h); a font of that
    // many points at the window's density.
    LOGFONTW font = windowFont;
    const auto inPoints = [&font, dpi](double points) {
        font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
        return OwnedFont(CreateFontIndirectW(&font));
    };
    const double windowPoints = std::abs(windowFont.lfHeight) * 72.0 / dpi;
    OwnedFont fitted = inPoints(fittedPointSize(windowPoints, [&](double points) {
        return fits(caption_, inPoints(points).get(), width, height);
    }));
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fitted.get()), TRUE);
    font_ = std::move(fitted); // the label's previous font goes now that it is not used
}

} // namespace lumeno::win32

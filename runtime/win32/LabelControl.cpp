#include "LabelControl.h"

#include "RuntimeError.h"
#include "WideText.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace lumeno::win32 {

LabelControl::LabelControl(std::string_view caption, HWND parent) : caption_(toWide(caption)) {
    window_ = CreateWindowExW(0, L"STATIC", caption_.c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed,
                           "The label " + std::string(caption) + " cannot be created.");
}

void LabelControl::setWindowFont(const LOGFONTW& windowFont, UINT dpi) {
    windowFont_ = windowFont;
    dpi_ = dpi;
}

double LabelControl::windowPointSize() const {
    return std::abs(windowFont_.lfHeight) * 72.0 / dpi_;
}

OwnedFont LabelControl::font(double points) const {
    LOGFONTW font = windowFont_;
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi_ / 72.0));
    return OwnedFont(CreateFontIndirectW(&font));
}

bool LabelControl::captionFits(double points) const {
    RECT client;
    GetClientRect(window_, &client);
    const OwnedFont measured = font(points);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, measured.get());
    RECT needed{0, 0, client.right, 0};
    DrawTextW(screen, caption_.c_str(), -1, &needed, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return needed.right <= client.right && needed.bottom <= client.bottom;
}

void LabelControl::setPointSize(double points) {
    OwnedFont fitted = font(points);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fitted.get()), TRUE);
    font_ = std::move(fitted); // the label's previous font goes now that it is not used
}

} // namespace lumeno::win32

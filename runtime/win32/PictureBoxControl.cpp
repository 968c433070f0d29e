#include "PictureBoxControl.h"

#include "FocusBorder.h"
#include "PictureBoxAccessible.h"
#include "RuntimeError.h"
#include "WideText.h"
#include "WindowClass.h"
#include "WindowDefinition.h"

#include <algorithm>
#include <new>

namespace lumeno::win32 {

namespace {

constexpr const wchar_t* className = L"LumenoPictureBox";

void paintFocusBorder(HDC device, const RECT& box) {
    HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
    for (const PixelRect& strip : focusBorder(box.right, box.bottom)) {
        const RECT filled{strip.left, strip.top, strip.left + strip.width,
                          strip.top + strip.height};
        FillRect(device, &filled, highlight);
    }
}

} // namespace

PictureBoxControl::PictureBoxControl(const ControlDefinition& control, PixelImage picture,
                                     ScreenDensity density, HWND parent)
    // Over the dialog background; a COLORREF is laid out as a colour value.
    : box_(control.name, std::move(picture), PixelImage::word(GetSysColor(COLOR_BTNFACE)), density,
           *this) {
    registerWindowClass(className, guarded<windowProcedure>, nullptr);
    const std::wstring name =
        toWide(control.accessibleName.empty() ? control.name : control.accessibleName);
    window_ = CreateWindowExW(0, className, name.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0,
                              0, 0, parent, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed,
                           "The picture box " + std::string(control.name) + " cannot be created.");
    box_.setOuterSize(control.width, control.height);
}

void PictureBoxControl::resizeBox(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
}

void PictureBoxControl::repaintRows(int top, int bottom) {
    constexpr int border = PictureBox::border;
    const RECT rows{border, border + top, border + box_.shown().width(), border + bottom};
    InvalidateRect(window_, &rows, FALSE);
}

void PictureBoxControl::pictureReplaced() {
    // Screen readers present a new description of the object they are on; others learn from
    // it that the picture changed.
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

const PictureBoxControl* PictureBoxControl::ofWindow(HWND window) {
    return ownerOfClass<PictureBoxControl>(window, className);
}

void PictureBoxControl::paint() {
    PAINTSTRUCT paint;
    HDC device = BeginPaint(window_, &paint);
    RECT box;
    GetClientRect(window_, &box);
    constexpr int border = PictureBox::border;
    // Only what is to be painted: the rows a run repaints lie inside the border.
    const RECT& dirty = paint.rcPaint;
    if (dirty.left < border || dirty.top < border || dirty.right > box.right - border ||
        dirty.bottom > box.bottom - border) {
        if (focused_)
            paintFocusBorder(device, box);
        else
            DrawEdge(device, &box, EDGE_SUNKEN, BF_RECT);
    }
    // The model's pixels are a top-down 32-bit bitmap already: its rows to be painted are
    // painted from its memory, one pixel to one pixel.
    const PixelImage& shown = box_.shown();
    const int top = std::clamp(static_cast<int>(dirty.top) - border, 0, shown.height());
    const int bottom = std::clamp(static_cast<int>(dirty.bottom) - border, top, shown.height());
    if (shown.width() > 0 && bottom > top) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = shown.width();
        format.bmiHeader.biHeight = -(bottom - top);
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(device, border, border + top, static_cast<DWORD>(shown.width()),
                          static_cast<DWORD>(bottom - top), 0, 0, 0,
                          static_cast<UINT>(bottom - top), shown.row(top), &format, DIB_RGB_COLORS);
    }
    EndPaint(window_, &paint);
    box_.painted();
}

LRESULT CALLBACK PictureBoxControl::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    auto* box = windowOwner<PictureBoxControl>(window, message, lParam);
    if (box == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        box->paint();
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            return StandardAccessible::answer(new (std::nothrow) PictureBoxAccessible(window),
                                              wParam);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1; // painting covers the whole box
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        box->focused_ = message == WM_SETFOCUS;
        InvalidateRect(window, nullptr, FALSE); // the border shows the focus
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window); // a picture box takes the focus, like any control in the tab order
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace lumeno::win32

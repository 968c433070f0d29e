// The least a processing run in lumeno's Windows window must do, for timing the click on Go
// to the last row on screen against it: a window of Form1's client size and frame style with
// its source box, result box, field and Go button where Form1 has them at the screen's
// density. Go disables itself, sets the busy pointer, pumps messages once, builds the curve's
// 256 outputs for the field's b, then maps the result box's client area row by row through
// them from the source box, repainting the row and pumping messages after each; then enables
// Go and restores the pointer. It carries lumeno's resources: the built-in picture, and the
// manifest, which makes it per-monitor aware (one pixel a pixel) with the same controls.
#include "FloorForm.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <windows.h>

namespace {

using namespace floor_form;

constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int dpi = 96;

int pixels(int twips) {
    return static_cast<int>(std::nearbyint(twips / (1440.0 / dpi)));
}

// A box's client area as a 32-bit top-down bitmap, painted by copying it; the picture from
// its top-left corner on the face colour.
struct ImageBox {
    HWND window = nullptr;
    HDC memory = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    void create(HWND parent, const std::array<int, 4>& twips, const BITMAPINFO* picture,
                const void* pictureBits) {
        window = CreateWindowExW(WS_EX_CLIENTEDGE, L"FloorBox", nullptr, WS_CHILD | WS_VISIBLE,
                                 pixels(twips[0]), pixels(twips[1]), pixels(twips[2]),
                                 pixels(twips[3]), parent, nullptr, nullptr, nullptr);
        RECT client;
        GetClientRect(window, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* memoryBits = nullptr;
        HBITMAP bitmap =
            CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &memoryBits, nullptr, 0);
        bits = static_cast<std::uint32_t*>(memoryBits);
        memory = CreateCompatibleDC(nullptr);
        SelectObject(memory, bitmap);
        RECT all{0, 0, width, height};
        FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
        const LONG pictureHeight = std::labs(picture->bmiHeader.biHeight);
        SetDIBitsToDevice(memory, 0, 0, static_cast<DWORD>(picture->bmiHeader.biWidth),
                          static_cast<DWORD>(pictureHeight), 0, 0, 0,
                          static_cast<UINT>(pictureHeight), pictureBits, picture, DIB_RGB_COLORS);
        GdiFlush();
    }

    std::uint32_t* row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * width; }

    void repaintRow(int y) const {
        const RECT line{0, y, width, y + 1};
        InvalidateRect(window, &line, FALSE);
    }
};

HWND mainWindow = nullptr;
HWND goWindow = nullptr;
HWND fieldWindow = nullptr;
ImageBox from;
ImageBox to;

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void run() {
    EnableWindow(goWindow, FALSE);
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    pumpMessages();
    char text[64] = {};
    GetWindowTextA(fieldWindow, text, sizeof text);
    char* end = nullptr;
    const auto b = static_cast<float>(std::strtod(text, &end)); // through double, as the tests
    std::array<std::uint8_t, 256> table{};
    if (end != text && curveTable(b, table)) {
        for (int y = 0; y < to.height; ++y) {
            const std::uint32_t* in = from.row(y);
            std::uint32_t* out = to.row(y);
            for (int x = 0; x < to.width; ++x) {
                const std::uint32_t c = in[x];
                out[x] = std::uint32_t{table[(c >> 16) & 0xFF]} << 16 |
                         std::uint32_t{table[(c >> 8) & 0xFF]} << 8 | table[c & 0xFF];
            }
            to.repaintRow(y);
            pumpMessages();
        }
    }
    EnableWindow(goWindow, TRUE);
    SetCursor(previous);
}

LRESULT CALLBACK boxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    const ImageBox& box = window == from.window ? from : to;
    PAINTSTRUCT paint;
    HDC device = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(device, r.left, r.top, r.right - r.left, r.bottom - r.top, box.memory, r.left, r.top,
           SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam == reinterpret_cast<LPARAM>(goWindow) &&
        HIWORD(wParam) == BN_CLICKED) {
        run();
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    HRSRC found = FindResourceW(instance, L"PICTURE", MAKEINTRESOURCEW(10)); // RT_RCDATA
    const auto* file =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, found)));
    std::uint32_t bitsOffset = 0;
    std::memcpy(&bitsOffset, file + 10, sizeof bitsOffset); // BITMAPFILEHEADER.bfOffBits
    const auto* picture = reinterpret_cast<const BITMAPINFO*>(file + sizeof(BITMAPFILEHEADER));

    registerClass(L"FloorBox", boxProcedure, nullptr);
    registerClass(L"Floor", windowProcedure, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame{0, 0, pixels(clientSize[0]), pixels(clientSize[1])};
    AdjustWindowRectEx(&frame, frameStyle, FALSE, 0);
    // In the right half of the screen, beside lumeno's window, which opens top left.
    mainWindow = CreateWindowExW(0, L"Floor", L"Floor", frameStyle,
                                 GetSystemMetrics(SM_CXSCREEN) / 2, 0, frame.right - frame.left,
                                 frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    // Created in Form1's tab order.
    from.create(mainWindow, sourceBox, picture, file + bitsOffset);
    goWindow = CreateWindowExW(0, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                               pixels(goButton[0]), pixels(goButton[1]), pixels(goButton[2]),
                               pixels(goButton[3]), mainWindow, nullptr, instance, nullptr);
    to.create(mainWindow, resultBox, picture, file + bitsOffset);
    fieldWindow = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  pixels(field[0]), pixels(field[1]), pixels(field[2]),
                                  pixels(field[3]), mainWindow, nullptr, instance, nullptr);
    ShowWindow(mainWindow, SW_SHOWDEFAULT);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

#include "DensityFunctions.h"

#include <shellscalingapi.h>

namespace lumeno::win32 {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

struct Windows10Functions {
    GetDpiForWindowFunction getDpiForWindow = nullptr;
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi = nullptr;
    GetSystemMetricsForDpiFunction getSystemMetricsForDpi = nullptr;
    SystemParametersInfoForDpiFunction systemParametersInfoForDpi = nullptr;
};

template <typename Function> Function lookUp(HMODULE module, const char* name) {
    // A function pointer of the right type for the exported one, as GetProcAddress documents.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

Windows10Functions lookUpAll() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return {lookUp<GetDpiForWindowFunction>(user32, "GetDpiForWindow"),
            lookUp<AdjustWindowRectExForDpiFunction>(user32, "AdjustWindowRectExForDpi"),
            lookUp<GetSystemMetricsForDpiFunction>(user32, "GetSystemMetricsForDpi"),
            lookUp<SystemParametersInfoForDpiFunction>(user32, "SystemParametersInfoForDpi")};
}

Windows10Functions& functions() {
    static Windows10Functions found = lookUpAll();
    return found;
}

// Windows 8.1's shcore function for the density of a monitor, null before 8.1.
GetDpiForMonitorFunction getDpiForMonitor() {
    static const GetDpiForMonitorFunction found = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore != nullptr ? lookUp<GetDpiForMonitorFunction>(shcore, "GetDpiForMonitor")
                                 : nullptr;
    }();
    return found;
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int atDpi(int measureAtSystemDpi, UINT dpi) {
    return MulDiv(measureAtSystemDpi, static_cast<int>(dpi), systemDpi());
}

} // namespace

UINT dpiForWindow(HWND window) {
    if (functions().getDpiForWindow)
        return functions().getDpiForWindow(window);
    // Windows 8.1 and 10 before 1607 give a per-monitor aware program the density of the
    // monitor the window is on; Windows 7 and 8 the system density alone.
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpiForMonitor() != nullptr &&
        SUCCEEDED(getDpiForMonitor()(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                     MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) &&
        dpiY != 0)
        return dpiY;
    return static_cast<UINT>(systemDpi());
}

void adjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi) {
    // The plain function measures the frame at the system density; the window sets its client
    // size from the frame the window system actually draws.
    if (functions().adjustWindowRectExForDpi)
        functions().adjustWindowRectExForDpi(&rect, style, FALSE, 0, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, 0);
}

int systemMetricForDpi(int index, UINT dpi) {
    if (functions().getSystemMetricsForDpi)
        return functions().getSystemMetricsForDpi(index, dpi);
    return atDpi(GetSystemMetrics(index), dpi);
}

NONCLIENTMETRICSW nonClientMetricsForDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (functions().systemParametersInfoForDpi) {
        functions().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                               dpi);
    } else {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = atDpi(metrics.lfMessageFont.lfHeight, dpi);
    }
    return metrics;
}

void withholdWindows10DensityFunctions(bool withheld) {
    functions() = withheld ? Windows10Functions{} : lookUpAll();
}

} // namespace lumeno::win32

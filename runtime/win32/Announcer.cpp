#include "Announcer.h"

#include "WideText.h"

#include <oleauto.h>
#include <string>
#include <uiautomationcore.h>

namespace lumeno::win32 {

namespace {

// From Windows 10 version 1709's UIAutomationCore.h, which MinGW-w64 does not have yet.
constexpr int notificationKindActionCompleted = 2;
constexpr int notificationProcessingImportantMostRecent = 1;
using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);
using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
// Windows 8's EVENT_OBJECT_LIVEREGIONCHANGED, which the headers leave out for Windows 7.
constexpr DWORD liveRegionChanged = 0x8019;

// The UI Automation functions, looked up once: the program also starts where they are missing.
struct UiAutomation {
    RaiseNotification raiseNotification = nullptr;
    HostProvider hostProvider = nullptr;

    UiAutomation() {
        HMODULE core =
            LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (core == nullptr)
            return;
        raiseNotification = reinterpret_cast<RaiseNotification>(
            reinterpret_cast<void*>(GetProcAddress(core, "UiaRaiseNotificationEvent")));
        hostProvider = reinterpret_cast<HostProvider>(
            reinterpret_cast<void*>(GetProcAddress(core, "UiaHostProviderFromHwnd")));
    }
};

const UiAutomation& uiAutomation() {
    static const UiAutomation functions;
    return functions;
}

// A UI Automation notification from the window; false where there is none.
bool raiseNotification(HWND window, const std::wstring& text) {
    const UiAutomation& uia = uiAutomation();
    IRawElementProviderSimple* provider = nullptr;
    if (uia.raiseNotification == nullptr || uia.hostProvider == nullptr ||
        FAILED(uia.hostProvider(window, &provider)) || provider == nullptr)
        return false;
    BSTR display = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    BSTR activity = SysAllocString(L"lumeno.result");
    const HRESULT raised =
        uia.raiseNotification(provider, notificationKindActionCompleted,
                              notificationProcessingImportantMostRecent, display, activity);
    SysFreeString(activity);
    SysFreeString(display);
    provider->Release();
    return SUCCEEDED(raised);
}

} // namespace

Announcer::Announcer(HWND window)
    : window_(window),
      // Visible to assistive technology, of no size to the eye; not a tab stop.
      liveRegion_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                  window, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

void Announcer::announce(std::string_view text) {
    const std::wstring wide = toWide(text);
    if (raiseNotification(window_, wide) || liveRegion_ == nullptr)
        return;
    SetWindowTextW(liveRegion_, wide.c_str());
    NotifyWinEvent(liveRegionChanged, liveRegion_, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace lumeno::win32

#include "Announcer.h"

#include "WideText.h"

#include <oleacc.h>
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
// Windows 8's LiveSetting_Property_GUID and its value Polite (UIAutomationCoreApi.h), which
// MinGW-w64's headers do not have.
constexpr GUID liveSettingPropertyGuid = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG liveSettingPolite = 1;

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

// Makes the window a polite live region for UI Automation clients, which read a window's
// LiveSetting as Off, and then ignore its changes, unless it is annotated so.
void makePoliteLiveRegion(HWND region) {
    IAccPropServices* services = nullptr;
    if (region == nullptr ||
        FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = liveSettingPolite;
    services->SetHwndProp(region, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          liveSettingPropertyGuid, polite);
    services->Release();
}

} // namespace

Announcer::Announcer(HWND window)
    : window_(window),
      // Visible to assistive technology, of no size to the eye; not a tab stop.
      liveRegion_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                  window, nullptr, GetModuleHandleW(nullptr), nullptr)) {
    makePoliteLiveRegion(liveRegion_);
}

void Announcer::announce(std::string_view text) {
    const std::wstring wide = toWide(text);
    if (raiseNotification(window_, wide) || liveRegion_ == nullptr)
        return;
    SetWindowTextW(liveRegion_, wide.c_str());
    NotifyWinEvent(liveRegionChanged, liveRegion_, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace lumeno::win32

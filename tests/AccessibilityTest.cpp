// Form1 on Windows as screen readers see it through MSAA, queried in-process as they would
// from outside: the picture boxes are graphics described by what they show, the window is
// busy exactly while it shows the busy pointer, a run's end is announced wherever the focus is,
// and a type mismatch leaves the focus in the field with its text selected.
#include "ErrorReport.h"
#include "Form.h"
#include "Form1.h"
#include "Program.h"
#include "TextBox.h"

#include <atomic>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <span>
#include <string>
#include <vector>
#include <windows.h>

namespace lumeno {
namespace {

std::string narrow(const wchar_t* text) {
    std::string ascii;
    for (; text != nullptr && *text != L'\0'; ++text)
        ascii += static_cast<char>(*text);
    return ascii;
}

// The client object of a window, as AccessibleObjectFromWindow gives it.
class ClientObject {
public:
    explicit ClientObject(HWND window) {
        EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&object_)),
                  S_OK);
    }
    // Takes over the reference held on `object`.
    explicit ClientObject(IAccessible* object) : object_(object) {}
    ~ClientObject() {
        if (object_ != nullptr)
            object_->Release();
    }
    ClientObject(const ClientObject&) = delete;
    ClientObject& operator=(const ClientObject&) = delete;

    long role() const { return number(&IAccessible::get_accRole); }
    long state() const { return number(&IAccessible::get_accState); }
    std::string name() const { return text(&IAccessible::get_accName); }
    std::string description() const { return text(&IAccessible::get_accDescription); }
    IAccessible* get() const { return object_; }

private:
    static VARIANT self() {
        VARIANT child;
        child.vt = VT_I4;
        child.lVal = CHILDID_SELF;
        return child;
    }
    long number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const {
        VARIANT value;
        VariantInit(&value);
        if (object_ == nullptr || (object_->*get)(self(), &value) != S_OK || value.vt != VT_I4)
            return -1;
        return value.lVal;
    }
    std::string text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const {
        BSTR value = nullptr;
        if (object_ == nullptr || (object_->*get)(self(), &value) != S_OK)
            return "(none)";
        std::string shown = narrow(value);
        SysFreeString(value);
        return shown;
    }

    IAccessible* object_ = nullptr;
};

// Windows 8's EVENT_OBJECT_LIVEREGIONCHANGED, which the headers leave out for Windows 7.
constexpr DWORD liveRegionChanged = 0x8019;

// The events a screen reader hears, as they are raised: an in-context hook is called from
// NotifyWinEvent itself, where an out-of-context one runs at a later pump.
struct Heard {
    HWND window;
    DWORD event;
    bool busy;        // whether the window was busy when its state changed
    std::string name; // a live region's, when it changed
};
std::vector<Heard> heard;
HWND formWindow = nullptr;

void CALLBACK listen(HWINEVENTHOOK /*hook*/, DWORD event, HWND window, LONG object, LONG child,
                     DWORD /*thread*/, DWORD /*time*/) {
    if (object != OBJID_CLIENT || child != CHILDID_SELF)
        return;
    const bool busy = window == formWindow &&
                      (ClientObject(window).state() & STATE_SYSTEM_BUSY) == STATE_SYSTEM_BUSY;
    heard.push_back(
        {window, event, busy, event == liveRegionChanged ? ClientObject(window).name() : ""});
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE)
        DispatchMessageW(&message);
}

// UI Automation's core client functions, where they answer (not in Wine 8), with the types of
// UIAutomationCoreApi.h, which does not compile as C++ in MinGW-w64.
template <typename Function> Function uia(const char* name) {
    HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(core, name)));
}
struct UiaEventArguments {
    int type;
    int eventId;
};
constexpr int notificationEvent = 20035; // UIA_NotificationEventId
std::atomic<int> notificationsHeard = 0;
void CALLBACK hearNotification(UiaEventArguments* arguments, SAFEARRAY* /*data*/, BSTR /*tree*/) {
    notificationsHeard += arguments->eventId == notificationEvent ? 1 : 0;
}
// Starts counting the notifications from the window's element in notificationsHeard; the
// handle to remove the listener with UiaRemoveEvent, or null.
HANDLE listenForNotifications(HWND window) {
    HANDLE node = nullptr;
    HANDLE listening = nullptr;
    const int always = 0; // ConditionType_True
    struct {
        const int* viewCondition;
        int scope; // TreeScope_Element
        int* properties;
        int propertyCount;
        int* patterns;
        int patternCount;
        int mode; // AutomationElementMode_Full
    } cache{&always, 1, nullptr, 0, nullptr, 0, 1};
    const auto fromHandle = uia<HRESULT(WINAPI*)(HWND, HANDLE*)>("UiaNodeFromHandle");
    if (fromHandle == nullptr || fromHandle(window, &node) != S_OK)
        return nullptr;
    uia<HRESULT(WINAPI*)(HANDLE, int, decltype(&hearNotification), int, int*, int, void*, HANDLE*)>(
        "UiaAddEvent")(node, notificationEvent, hearNotification,
                       7, // TreeScope_Subtree
                       nullptr, 0, &cache, &listening);
    uia<BOOL(WINAPI*)(HANDLE)>("UiaNodeRelease")(node);
    return listening;
}

class AccessibilityTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        form.show();
        pump();
        formWindow = FindWindowW(L"LumenoForm", L"Form1");
        ASSERT_NE(formWindow, nullptr);
        picFrom = FindWindowExW(formWindow, nullptr, L"LumenoPictureBox", nullptr);
        picTo = FindWindowExW(formWindow, picFrom, L"LumenoPictureBox", nullptr);
        ASSERT_NE(picTo, nullptr);
    }
    void TearDown() override {
        form.unload();
        pump();
        CoUninitialize();
    }

    // The size of a box's client area, inside its 2-pixel border, as a description gives it.
    static std::string shownSize(HWND box) {
        RECT client;
        GetClientRect(box, &client);
        return std::to_string(client.right - 4) + " by " + std::to_string(client.bottom - 4) +
               " pixels";
    }

    Form form{form1Definition(), programHeader().bindings};
    HWND picFrom = nullptr;
    HWND picTo = nullptr;
};

TEST_F(AccessibilityTest, PictureBoxesAreDescribedGraphics) {
    for (const auto& [box, name] :
         {std::pair{picFrom, "Source picture"}, std::pair{picTo, "Result picture"}}) {
        const ClientObject object(box);
        EXPECT_EQ(object.role(), ROLE_SYSTEM_GRAPHIC) << name;
        EXPECT_EQ(object.name(), name);
        EXPECT_EQ(object.description().rfind("The program's picture of 180 by 200 pixels, shown "
                                             "from its top-left corner in a box of " +
                                                 shownSize(box) + "; mean brightness ",
                                             0),
                  0U)
            << object.description();
    }
}

// The interface `id` of a COM object, or null where it hands out none (the reference is the
// caller's).
template <typename Interface> Interface* query(IUnknown* object, REFIID id) {
    void* found = nullptr;
    if (object == nullptr || object->QueryInterface(id, &found) != S_OK)
        return nullptr;
    return static_cast<Interface*>(found);
}

// A screen reader may ask any interface an object hands out for IAccessible again: each way
// leads back to the same object (the same IUnknown), with the same answers. The window
// behind the object is known (IOleWindow), and the form's children are found.
TEST_F(AccessibilityTest, EveryInterfaceLeadsBackToTheSameObject) {
    for (HWND window : {formWindow, picTo}) {
        const ClientObject object(window);
        auto* identity = query<IUnknown>(object.get(), IID_IUnknown);
        ASSERT_NE(identity, nullptr);
        HWND shown = nullptr;
        EXPECT_EQ(WindowFromAccessibleObject(object.get(), &shown), S_OK);
        EXPECT_EQ(shown, window);
        for (const IID& id : {IID_IOleWindow, IID_IEnumVARIANT}) {
            auto* other = query<IUnknown>(object.get(), id);
            ASSERT_NE(other, nullptr);
            auto* otherIdentity = query<IUnknown>(other, IID_IUnknown);
            const ClientObject back(query<IAccessible>(other, IID_IAccessible));
            other->Release();
            EXPECT_EQ(otherIdentity, identity) << "the same IUnknown";
            if (otherIdentity != nullptr)
                otherIdentity->Release();
            ASSERT_NE(back.get(), nullptr);
            EXPECT_EQ(back.role(), object.role());
            EXPECT_EQ(back.state(), object.state());
            EXPECT_EQ(back.description(), object.description());
        }
        identity->Release();
    }
    long count = 0;
    const ClientObject form(formWindow);
    ASSERT_EQ(form.get()->get_accChildCount(&count), S_OK);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long found = 0;
    ASSERT_EQ(AccessibleChildren(form.get(), 0, count, children.data(), &found), S_OK);
    int boxes = 0; // the children are the child windows' window objects
    for (VARIANT& child : std::span(children.data(), static_cast<std::size_t>(found))) {
        HWND childWindow = nullptr;
        if (child.vt == VT_DISPATCH) {
            const ClientObject shownChild(query<IAccessible>(child.pdispVal, IID_IAccessible));
            WindowFromAccessibleObject(shownChild.get(), &childWindow);
        }
        boxes += childWindow == picFrom || childWindow == picTo ? 1 : 0;
        VariantClear(&child);
    }
    EXPECT_EQ(boxes, 2) << "the picture boxes among " << found << " children";
}

TEST_F(AccessibilityTest, BusyDuringARunAndTheResultAnnounced) {
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_STATECHANGE, liveRegionChanged, GetModuleHandleW(nullptr),
                        listen, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    ASSERT_NE(hook, nullptr);
    heard.clear();
    notificationsHeard = 0;
    HANDLE listening = listenForNotifications(formWindow);
    SetWindowTextW(FindWindowExW(formWindow, nullptr, L"EDIT", nullptr), L"2");
    ASSERT_EQ(form.textBox("txtBrightness").text(), "2");
    form.click("cmdGo");
    pump();
    // UI Automation hands its events to a client on a thread of its own.
    for (int wait = 0; listening != nullptr && notificationsHeard == 0 && wait < 100; ++wait)
        Sleep(10);
    if (listening != nullptr)
        uia<HRESULT(WINAPI*)(HANDLE)>("UiaRemoveEvent")(listening);
    UnhookWinEvent(hook);

    std::vector<std::pair<DWORD, bool>> formEvents;
    int resultAnnounced = 0;
    std::vector<std::string> liveRegion;
    for (const Heard& event : heard) {
        if (event.window == formWindow && event.event == EVENT_OBJECT_STATECHANGE)
            formEvents.emplace_back(event.event, event.busy);
        if (event.window == picTo && event.event == EVENT_OBJECT_DESCRIPTIONCHANGE)
            ++resultAnnounced;
        if (GetParent(event.window) == formWindow && event.event == liveRegionChanged)
            liveRegion.push_back(event.name);
    }
    const std::vector<std::pair<DWORD, bool>> busyThenIdle{{EVENT_OBJECT_STATECHANGE, true},
                                                           {EVENT_OBJECT_STATECHANGE, false}};
    EXPECT_EQ(formEvents, busyThenIdle);
    EXPECT_EQ(ClientObject(formWindow).state() & STATE_SYSTEM_BUSY, 0);
    EXPECT_EQ(resultAnnounced, 1);
    const std::string after = ClientObject(picTo).description();
    EXPECT_EQ(
        after.rfind("A picture the program drew, " + shownSize(picTo) + "; mean brightness ", 0),
        0U)
        << after;
    // The end announced once: by a UI Automation notification, which an MSAA hook does not
    // hear, where Windows has them (not in Wine 8); by the live region elsewhere.
    const bool notifications = uia<void*>("UiaRaiseNotificationEvent") != nullptr;
    EXPECT_EQ(notificationsHeard.load(), notifications ? 1 : 0);
    const std::vector<std::string> announced{"The result is drawn. " + after};
    EXPECT_EQ(liveRegion, notifications ? std::vector<std::string>{} : announced);
}

TEST_F(AccessibilityTest, TypeMismatchLeavesTheFocusInTheFieldWithItsTextSelected) {
    HWND field = FindWindowExW(formWindow, nullptr, L"EDIT", nullptr);
    SetForegroundWindow(formWindow);
    pump();
    SetWindowTextW(field, L"abc");
    SetFocus(FindWindowExW(formWindow, nullptr, L"BUTTON", L"Go"));
    HWND focusedDuringReport = nullptr;
    setErrorPresenter(
        [&](const std::string&, const std::string&) { focusedDuringReport = GetFocus(); });
    form.click("cmdGo");
    setErrorPresenter({});
    pump();
    // Focused before the report, so that the report's box gives the focus back to it.
    EXPECT_EQ(focusedDuringReport, field);
    EXPECT_EQ(GetFocus(), field);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::pair(start, end), std::pair(DWORD{0}, DWORD{3}));
}

} // namespace
} // namespace lumeno

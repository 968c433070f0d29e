#include "Window.h"

#include "CommandButtonControl.h"
#include "DensityFunctions.h"
#include "Form.h"
#include "FormAccessible.h"
#include "LabelControl.h"
#include "PictureBoxControl.h"
#include "PixelRect.h"
#include "Platform.h"
#include "Pointer.h"
#include "ProgramPictures.h"
#include "Resources.h"
#include "RuntimeError.h"
#include "TabOrder.h"
#include "TextBoxControl.h"
#include "WideText.h"
#include "WindowClass.h"
#include "WindowDefinition.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace lumeno::win32 {

namespace {

constexpr const wchar_t* className = L"LumenoForm";
// A frame of fixed size (FormWindow.h): no sizing border and no maximise box.
constexpr DWORD frameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Control identifiers start above IDOK and IDCANCEL, which the dialog manager sends for
// Enter and Escape: with no control behind them, neither presses anything.
constexpr int firstControlId = 100;

[[noreturn]] void cannotCreate(std::string_view what) {
    throw RuntimeError(ErrorKind::ControlCallFailed,
                       "The window's " + std::string(what) + " cannot be created.");
}

} // namespace

Window::Window(const WindowDefinition& definition, Form& form)
    : definition_(definition), form_(form), nextControlId_(firstControlId) {
    registerWindowClass(className, guarded<windowProcedure>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    window_.reset(CreateWindowExW(0, className, toWide(definition.caption).c_str(), frameStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), this));
    if (!window_)
        cannotCreate(definition.name);
    // The density of the screen the window is on (per-monitor awareness, from the manifest).
    dpi_ = dpiForWindow(window_.get());
    messageFont_ = makeFontAndIcons();
}

Window::~Window() {
    // The window and its controls go first, while every member their last messages reach
    // still exists, whatever the order the members are declared in.
    window_.reset();
}

void Window::setClientSize(int width, int height) {
    sizeFrame(width, height, std::exchange(frameCorner_, std::nullopt));
}

void Window::sizeFrame(int width, int height, std::optional<POINT> corner) {
    RECT frame{0, 0, width, height};
    adjustWindowRectForDpi(frame, frameStyle, dpi_);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (corner ? 0 : SWP_NOMOVE);
    const POINT at = corner.value_or(POINT{});
    SetWindowPos(window_.get(), nullptr, at.x, at.y, frame.right - frame.left,
                 frame.bottom - frame.top, flags);
    // The frame the window system draws decides: where it differs from the one computed for
    // the density, the frame grows or shrinks by the difference.
    RECT client;
    GetClientRect(window_.get(), &client);
    const int wider = width - client.right;
    const int higher = height - client.bottom;
    if (wider != 0 || higher != 0)
        SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left + wider,
                     frame.bottom - frame.top + higher, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LOGFONTW Window::makeFontAndIcons() {
    const NONCLIENTMETRICSW metrics = nonClientMetricsForDpi(dpi_);
    font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    // The window lets go of its icons before they are destroyed.
    OwnedIcon big = loadIcon(definition_.icon, systemMetricForDpi(SM_CXICON, dpi_));
    OwnedIcon small = loadIcon(definition_.icon, systemMetricForDpi(SM_CXSMICON, dpi_));
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
    return metrics.lfMessageFont;
}

void Window::densityChanged(UINT dpi, const RECT& suggested) {
    RECT frame;
    GetWindowRect(window_.get(), &frame);
    pendingDensityChange_ =
        DensityChange{dpi, {suggested.left - frame.left, suggested.top - frame.top}};
    form_.densityChanged(*this);
}

bool Window::takeDensityChange() {
    if (!pendingDensityChange_)
        return false;
    const DensityChange change = *std::exchange(pendingDensityChange_, std::nullopt);
    if (change.dpi == dpi_)
        return false;
    dpi_ = change.dpi;
    // The frame goes where the window system suggested, moved on as far as the window moved
    // while the change waited.
    RECT frame;
    GetWindowRect(window_.get(), &frame);
    frameCorner_ = POINT{frame.left + change.offset.x, frame.top + change.offset.y};
    // The controls let go of the previous font as they are placed again.
    previousFont_ = std::move(font_);
    messageFont_ = makeFontAndIcons();
    return true;
}

void Window::addControl(const ControlDefinition& control) {
    // Made in tab order, which is the order the dialog manager moves the focus in.
    HWND added = makeControl(control, nextControlId_++);
    windowsOfControls_.emplace_back(&control, added);
}

HWND Window::windowOf(const ControlDefinition& control) const {
    const auto found = std::ranges::find(windowsOfControls_, &control,
                                         &std::pair<const ControlDefinition*, HWND>::first);
    return found != windowsOfControls_.end() ? found->second : nullptr;
}

void Window::placeControl(const ControlDefinition& control, const PixelRect& place) {
    HWND placed = windowOf(control);
    const UINT sized = control.kind == ControlKind::PictureBox ? SWP_NOSIZE : 0;
    SetWindowPos(placed, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | sized);
    if (control.kind == ControlKind::Label) {
        const auto label = std::ranges::find(
            labels_, &control,
            &std::pair<const ControlDefinition*, std::unique_ptr<LabelControl>>::first);
        label->second->setWindowFont(messageFont_, dpi_);
    } else if (control.kind != ControlKind::PictureBox) {
        SendMessageW(placed, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
}

void Window::controlsAdded(const ControlDefinition* firstFocus) {
    firstFocus_ = firstFocus != nullptr ? windowOf(*firstFocus) : nullptr;
    // After the controls, which keep their places among the window's children.
    announcer_.emplace(window_.get());
}

HWND Window::makeControl(const ControlDefinition& control, int id) {
    switch (control.kind) {
    case ControlKind::PictureBox: {
        const auto& added = pictureBoxes_.emplace_back(std::make_unique<PictureBoxControl>(
            control, programPicture(control.content), density(), window_.get()));
        controls_.add(control.name, added->model());
        return added->handle();
    }
    case ControlKind::CommandButton: {
        HWND button = addSystemControl(L"BUTTON", BS_PUSHBUTTON, 0, control, id);
        controls_.add(control.name, buttons_
                                        .emplace_back(std::make_unique<CommandButtonControl>(
                                            control.name, button, *this))
                                        ->model());
        return button;
    }
    case ControlKind::TextBox: {
        HWND field =
            addSystemControl(L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, control, id);
        controls_.add(
            control.name,
            textBoxes_.emplace_back(std::make_unique<TextBoxControl>(field, *this))->model());
        return field;
    }
    case ControlKind::Label:
        const auto& [definition, label] = labels_.emplace_back(
            &control, std::make_unique<LabelControl>(control.content, window_.get()));
        controls_.add(control.name, label->model());
        return label->handle();
    }
    return nullptr;
}

HWND Window::addSystemControl(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                              const ControlDefinition& control, int id) {
    HWND added = CreateWindowExW(extendedStyle, windowClass, toWide(control.content).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style |
                                     (takesFocus(control.kind) ? WS_TABSTOP : 0),
                                 0, 0, 0, 0, window_.get(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (added == nullptr)
        cannotCreate(control.name);
    return added;
}

void Window::show() {
    // As in a dialog, focus rectangles and access keys show once the keyboard is used: the
    // dialog manager shows them then (the event loop hands it the window's keys).
    SendMessageW(window_.get(), WM_CHANGEUISTATE,
                 MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ShowWindow(window_.get(), SW_SHOW);
}

void Window::announce(std::string_view text) {
    announcer_->announce(text);
}

void Window::hide() {
    ShowWindow(window_.get(), SW_HIDE);
}

void Window::setMousePointer(MousePointer pointer) {
    pointer_ = pointer;
    updatePointerOver(window_.get());
}

void Window::setBusy(bool busy) {
    if (busy != std::exchange(busy_, busy))
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_.get(), OBJID_CLIENT, CHILDID_SELF);
}

HWND Window::focusedControl() const {
    HWND focused = GetActiveWindow() == window_.get() ? GetFocus() : focus_;
    return IsChild(window_.get(), focused) != FALSE ? focused : nullptr;
}

void Window::focusControl(HWND control) {
    HWND focused = control != nullptr ? control : window_.get();
    if (GetActiveWindow() == window_.get())
        SetFocus(focused);
    else
        focus_ = focused;
}

const Window* Window::ofWindow(HWND window) {
    return ownerOfClass<Window>(window, className);
}

bool Window::isFormWindow(HWND window) {
    return isOfClass(window, className);
}

void Window::buttonClicked(HWND button) {
    const auto clicked = std::ranges::find(buttons_, button, &CommandButtonControl::handle);
    if (clicked != buttons_.end())
        form_.click((*clicked)->name());
}

LRESULT Window::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            buttonClicked(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SETCURSOR:
        // Over the client area and every control in it (a control asks its parent first); the
        // frame keeps its own pointers.
        if (pointer_ == MousePointer::Busy && LOWORD(lParam) == HTCLIENT) {
            SetCursor(busyPointer());
            return TRUE;
        }
        break;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            return StandardAccessible::answer(new (std::nothrow) FormAccessible(window), wParam);
        break;
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back where it was: to the same control,
        // or to the window itself when it held the focus with no control having it (as while
        // a disabled button waits to take it back). The first time, and when the focus was
        // outside the window, to the first control in tab order.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focused = GetFocus();
            focus_ = focused == window || IsChild(window, focused) != FALSE ? focused : nullptr;
        } else if (HIWORD(wParam) == 0) { // not minimised
            SetFocus(focus_ != nullptr ? focus_ : firstFocus_);
        }
        return 0;
    case WM_DPICHANGED:
        if (window_) // not while the window is being created or destroyed
            densityChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        form_.closedByUser();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = windowOwner<Window>(window, message, lParam);
    return form != nullptr ? form->handle(window, message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

} // namespace lumeno::win32

namespace lumeno::platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<win32::Window>(definition, form);
}

} // namespace lumeno::platform

#pragma once

#include "FocusKeepingButton.h"

#include <string_view>
#include <windows.h>

namespace lumeno::win32 {

class Window;

// A command button: the system's push button, never the default button. Disabled while it
// has the focus, it keeps it (FocusKeepingButton).
class CommandButtonControl final : public FocusKeepingButton {
public:
    CommandButtonControl(std::string_view name, HWND window, Window& form)
        : name_(name), window_(window), form_(form) {}

    std::string_view name() const { return name_; }
    HWND handle() const { return window_; }

    bool isEnabled() const override { return IsWindowEnabled(window_) != FALSE; }

private:
    bool isFocused() const override;
    bool windowHasFocusedControl() const override;
    void clearWindowFocus() override;
    void takeFocus() override;
    void enableButton(bool enabled) override { EnableWindow(window_, enabled ? TRUE : FALSE); }

    std::string_view name_;
    HWND window_; // destroyed with its parent
    Window& form_;
};

} // namespace lumeno::win32

#pragma once

#include "CommandButton.h"
#include "CommandButtonView.h"

#include <string_view>
#include <windows.h>

namespace lumeno::win32 {

class Window;

// A command button as the system's push button, never the default button. Its model is a
// CommandButton.
class CommandButtonControl final : public CommandButtonView {
public:
    CommandButtonControl(std::string_view name, HWND window, Window& form)
        : name_(name), window_(window), form_(form) {}
    CommandButtonControl(const CommandButtonControl&) = delete;
    CommandButtonControl& operator=(const CommandButtonControl&) = delete;

    CommandButton& model() { return model_; }
    std::string_view name() const { return name_; }
    HWND handle() const { return window_; }

    void enable(bool enabled) override { EnableWindow(window_, enabled ? TRUE : FALSE); }
    bool isFocused() const override;
    bool windowHasFocusedControl() const override;
    void clearWindowFocus() override;
    void takeFocus() override;

private:
    std::string_view name_;
    HWND window_; // destroyed with its parent
    Window& form_;
    CommandButton model_{*this};
};

} // namespace lumeno::win32

#pragma once

#include "CommandButton.h"

#include <string_view>
#include <windows.h>

namespace lumeno {

// A command button: the system's push button, never the default button.
class Win32CommandButton final : public CommandButton {
public:
    Win32CommandButton(std::string_view name, HWND window) : name_(name), window_(window) {}

    std::string_view name() const { return name_; }
    HWND handle() const { return window_; }

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return IsWindowEnabled(window_) != FALSE; }

private:
    std::string_view name_;
    HWND window_; // destroyed with its parent
};

} // namespace lumeno

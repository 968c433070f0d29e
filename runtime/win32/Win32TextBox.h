#pragma once

#include "TextBox.h"

#include <windows.h>

namespace lumeno {

class Win32FormWindow;

// A one-line text box: the system's edit control.
class Win32TextBox final : public TextBox {
public:
    Win32TextBox(HWND window, Win32FormWindow& form) : window_(window), form_(form) {}

    std::string text() const override;
    void focusWithTextSelected() override;

private:
    HWND window_; // destroyed with its parent
    Win32FormWindow& form_;
};

} // namespace lumeno

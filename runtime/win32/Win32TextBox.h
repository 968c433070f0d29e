#pragma once

#include "TextBox.h"

#include <windows.h>

namespace lumeno {

// A one-line text box: the system's edit control.
class Win32TextBox final : public TextBox {
public:
    explicit Win32TextBox(HWND window) : window_(window) {}

    std::string text() const override;

private:
    HWND window_; // destroyed with its parent
};

} // namespace lumeno

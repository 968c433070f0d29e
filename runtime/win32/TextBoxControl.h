#pragma once

#include "TextBox.h"

#include <windows.h>

namespace lumeno::win32 {

// A one-line text box: the system's edit control.
class TextBoxControl final : public TextBox {
public:
    explicit TextBoxControl(HWND window) : window_(window) {}

    std::string text() const override;

private:
    HWND window_; // destroyed with its parent
};

} // namespace lumeno::win32

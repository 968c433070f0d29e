#pragma once

#include "TextBox.h"
#include "TextBoxView.h"

#include <windows.h>

namespace lumeno::win32 {

// A one-line text box as the system's edit control. Its model is a TextBox.
class TextBoxControl final : public TextBoxView {
public:
    explicit TextBoxControl(HWND window) : window_(window) {}
    TextBoxControl(const TextBoxControl&) = delete;
    TextBoxControl& operator=(const TextBoxControl&) = delete;

    TextBox& model() { return model_; }

    std::string text() const override;

private:
    HWND window_; // destroyed with its parent
    TextBox model_{*this};
};

} // namespace lumeno::win32

#pragma once

#include "TextBox.h"
#include "TextBoxView.h"

#include <windows.h>

namespace lumeno::win32 {

class Window;

// A one-line text box as the system's edit control. Its model is a TextBox.
class TextBoxControl final : public TextBoxView {
public:
    TextBoxControl(HWND window, Window& form) : window_(window), form_(form) {}
    TextBoxControl(const TextBoxControl&) = delete;
    TextBoxControl& operator=(const TextBoxControl&) = delete;

    TextBox& model() { return model_; }

    std::string text() const override;
    void focusWithTextSelected() override;

private:
    HWND window_; // destroyed with its parent
    Window& form_;
    TextBox model_{*this};
};

} // namespace lumeno::win32

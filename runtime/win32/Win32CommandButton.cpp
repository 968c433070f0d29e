#include "Win32CommandButton.h"

#include "Win32FormWindow.h"

namespace lumeno {

bool Win32CommandButton::isFocused() const {
    return form_.focusedControl() == window_;
}

bool Win32CommandButton::windowHasFocusedControl() const {
    return form_.focusedControl() != nullptr;
}

void Win32CommandButton::clearWindowFocus() {
    form_.focusControl(nullptr);
}

void Win32CommandButton::takeFocus() {
    form_.focusControl(window_);
}

} // namespace lumeno

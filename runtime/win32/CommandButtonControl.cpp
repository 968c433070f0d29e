#include "CommandButtonControl.h"

#include "Window.h"

namespace lumeno::win32 {

bool CommandButtonControl::isFocused() const {
    return form_.focusedControl() == window_;
}

bool CommandButtonControl::windowHasFocusedControl() const {
    return form_.focusedControl() != nullptr;
}

void CommandButtonControl::clearWindowFocus() {
    form_.focusControl(nullptr);
}

void CommandButtonControl::takeFocus() {
    form_.focusControl(window_);
}

} // namespace lumeno::win32

#include "CommandButtonControl.h"

#include "Page.h"

namespace lumeno::web {

void CommandButtonControl::enable(bool enabled) {
    lumeno_control_enable(button_, enabled);
}

bool CommandButtonControl::isFocused() const {
    return lumeno_window_focused(window_) == button_;
}

bool CommandButtonControl::windowHasFocusedControl() const {
    return lumeno_window_focused(window_) != 0;
}

void CommandButtonControl::clearWindowFocus() {
    lumeno_window_clear_focus(window_);
}

void CommandButtonControl::takeFocus() {
    lumeno_control_focus(button_);
}

} // namespace lumeno::web

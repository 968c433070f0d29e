#include "CommandButtonControl.h"

namespace lumeno::qt {

CommandButtonControl::CommandButtonControl(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

bool CommandButtonControl::isFocused() const {
    return window()->focusWidget() == this;
}

bool CommandButtonControl::windowHasFocusedControl() const {
    return window()->focusWidget() != nullptr;
}

} // namespace lumeno::qt

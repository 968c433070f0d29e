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
    const QWidget* focused = window()->focusWidget();
    return focused != nullptr && focused != window();
}

} // namespace lumeno::qt

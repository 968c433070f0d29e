#include "CommandButtonWidget.h"

namespace lumeno {

CommandButtonWidget::CommandButtonWidget(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

bool CommandButtonWidget::isFocused() const {
    return window()->focusWidget() == this;
}

bool CommandButtonWidget::windowHasFocusedControl() const {
    return window()->focusWidget() != nullptr;
}

} // namespace lumeno

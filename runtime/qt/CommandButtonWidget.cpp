#include "CommandButtonWidget.h"

#include <utility>

namespace lumeno {

CommandButtonWidget::CommandButtonWidget(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void CommandButtonWidget::setEnabled(bool enabled) {
    // A disabled widget cannot hold the focus, and Qt would pass it on to the next control
    // in tab order, where it would stay: a button pressed with Space would leave it there.
    // Instead no control has the focus while the button is disabled.
    if (!enabled && window()->focusWidget() == this) {
        clearFocus();
        takesFocusBack_ = true;
    }
    QPushButton::setEnabled(enabled);
    if (enabled && std::exchange(takesFocusBack_, false) && window()->focusWidget() == nullptr)
        setFocus(Qt::OtherFocusReason);
}

} // namespace lumeno

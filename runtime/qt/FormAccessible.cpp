#include "FormAccessible.h"

#include "Window.h"

namespace lumeno::qt {

FormAccessible::FormAccessible(Window* form) : QAccessibleWidget(form, QAccessible::Window) {}

QAccessible::State FormAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.busy = static_cast<const Window*>(widget())->isBusy();
    return state;
}

} // namespace lumeno::qt

#include "FormAccessible.h"

#include "FormWidget.h"

namespace lumeno {

FormAccessible::FormAccessible(FormWidget* form) : QAccessibleWidget(form, QAccessible::Window) {}

QAccessible::State FormAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.busy = static_cast<const FormWidget*>(widget())->isBusy();
    return state;
}

} // namespace lumeno

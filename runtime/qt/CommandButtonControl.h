#pragma once

#include "FocusKeepingButton.h"

#include <QPushButton>

namespace lumeno::qt {

// A command button: never the default button, so Enter in the window presses nothing.
// Disabled while it has the focus, it keeps it (FocusKeepingButton).
class CommandButtonControl : public QPushButton, public FocusKeepingButton {
public:
    CommandButtonControl(const QString& caption, QWidget* parent);

    using FocusKeepingButton::setEnabled;
    bool isEnabled() const override { return QPushButton::isEnabled(); }

private:
    bool isFocused() const override;
    bool windowHasFocusedControl() const override;
    void clearWindowFocus() override { clearFocus(); }
    void takeFocus() override { setFocus(Qt::OtherFocusReason); }
    void enableButton(bool enabled) override { QPushButton::setEnabled(enabled); }
};

} // namespace lumeno::qt

#pragma once

#include "CommandButton.h"
#include "CommandButtonView.h"

#include <QPushButton>

namespace lumeno::qt {

// A command button as a push button, never the default button, so Enter in the window
// presses nothing. Its model is a CommandButton.
class CommandButtonControl : public QPushButton, public CommandButtonView {
public:
    CommandButtonControl(const QString& caption, QWidget* parent);

    CommandButton& model() { return model_; }

    void enable(bool enabled) override { QPushButton::setEnabled(enabled); }
    bool isFocused() const override;
    bool windowHasFocusedControl() const override;
    void clearWindowFocus() override { clearFocus(); }
    void takeFocus() override { setFocus(Qt::OtherFocusReason); }

private:
    CommandButton model_{*this};
};

} // namespace lumeno::qt

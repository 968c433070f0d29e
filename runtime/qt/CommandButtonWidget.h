#pragma once

#include "CommandButton.h"

#include <QPushButton>

namespace lumeno {

// A command button: never the default button, so Enter in the window presses nothing.
// Disabled while it has the focus, it keeps the focus from moving on to another control
// and takes it back when enabled again, unless the user gave it to a control meanwhile.
class CommandButtonWidget : public QPushButton, public CommandButton {
public:
    CommandButtonWidget(const QString& caption, QWidget* parent);

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return QPushButton::isEnabled(); }

private:
    bool takesFocusBack_ = false;
};

} // namespace lumeno

#pragma once

#include "CommandButton.h"

#include <QPushButton>

namespace lumeno {

// A command button: never the default button, so Enter in the window presses nothing.
class CommandButtonWidget : public QPushButton, public CommandButton {
public:
    CommandButtonWidget(const QString& caption, QWidget* parent);

    void setEnabled(bool enabled) override { QPushButton::setEnabled(enabled); }
    bool isEnabled() const override { return QPushButton::isEnabled(); }
};

} // namespace lumeno

#pragma once

#include "CommandButton.h"
#include "CommandButtonView.h"

namespace lumeno::web {

// A command button as a <button> that is never a default button. Its model is a
// CommandButton.
class CommandButtonControl final : public CommandButtonView {
public:
    CommandButtonControl(int window, int button) : window_(window), button_(button) {}
    CommandButtonControl(const CommandButtonControl&) = delete;
    CommandButtonControl& operator=(const CommandButtonControl&) = delete;

    CommandButton& model() { return model_; }

    void enable(bool enabled) override;
    bool isFocused() const override;
    bool windowHasFocusedControl() const override;
    void clearWindowFocus() override;
    void takeFocus() override;

private:
    int window_;
    int button_;
    CommandButton model_{*this};
};

} // namespace lumeno::web

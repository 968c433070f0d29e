#pragma once

namespace lumeno {

// A command button of a loaded window. A disabled button is greyed and ignores clicks.
class CommandButton {
public:
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

protected:
    ~CommandButton() = default;
};

} // namespace lumeno

#pragma once

#include <string>

namespace lumeno {

// How a platform shows a one-line text box: the user edits its text there.
class TextBoxView {
public:
    // The text as UTF-8.
    virtual std::string text() const = 0;
    // Gives the box its window's focus with all its text selected.
    virtual void focusWithTextSelected() = 0;

protected:
    ~TextBoxView() = default;
};

} // namespace lumeno

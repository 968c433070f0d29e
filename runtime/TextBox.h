#pragma once

#include <string>

namespace lumeno {

// A one-line text box of a loaded window.
class TextBox {
public:
    // The text as UTF-8.
    virtual std::string text() const = 0;
    // Gives the box its window's focus with all its text selected, so that what the user
    // types next replaces it.
    virtual void focusWithTextSelected() = 0;

protected:
    ~TextBox() = default;
};

} // namespace lumeno

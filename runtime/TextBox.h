#pragma once

#include "TextBoxView.h"

#include <string>

namespace lumeno {

// A one-line text box of a loaded window; the user edits its text in its view.
class TextBox {
public:
    explicit TextBox(TextBoxView& view) : view_(view) {}
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;

    // The text as UTF-8.
    std::string text() const { return view_.text(); }
    // Gives the box its window's focus with all its text selected, so that what the user
    // types next replaces it.
    void focusWithTextSelected() { view_.focusWithTextSelected(); }

private:
    TextBoxView& view_;
};

} // namespace lumeno

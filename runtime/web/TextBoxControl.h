#pragma once

#include "TextBox.h"
#include "TextBoxView.h"

namespace lumeno::web {

// A one-line text box as an <input>, outside any form: Enter in it submits nothing. Its
// model is a TextBox.
class TextBoxControl final : public TextBoxView {
public:
    explicit TextBoxControl(int field) : field_(field) {}
    TextBoxControl(const TextBoxControl&) = delete;
    TextBoxControl& operator=(const TextBoxControl&) = delete;

    TextBox& model() { return model_; }

    std::string text() const override;
    void focusWithTextSelected() override;

private:
    int field_;
    TextBox model_{*this};
};

} // namespace lumeno::web

#pragma once

#include "TextBox.h"
#include "TextBoxView.h"

#include <QLineEdit>

namespace lumeno::qt {

// A one-line text box as a line edit. Its model is a TextBox.
class TextBoxControl : public QLineEdit, public TextBoxView {
public:
    using QLineEdit::QLineEdit;

    TextBox& model() { return model_; }

    std::string text() const override;

private:
    TextBox model_{*this};
};

} // namespace lumeno::qt

#pragma once

#include "TextBox.h"

#include <QLineEdit>

namespace lumeno::qt {

class TextBoxControl : public QLineEdit, public TextBox {
public:
    using QLineEdit::QLineEdit;

    std::string text() const override;
};

} // namespace lumeno::qt

#pragma once

#include "TextBox.h"

#include <QLineEdit>

namespace lumeno::qt {

class TextBoxControl : public QLineEdit, public TextBox {
public:
    explicit TextBoxControl(QWidget* parent);

    std::string text() const override { return QLineEdit::text().toStdString(); }
};

} // namespace lumeno::qt

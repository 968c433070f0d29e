#pragma once

#include "TextBox.h"

#include <QLineEdit>

namespace lumeno {

class TextBoxWidget : public QLineEdit, public TextBox {
public:
    explicit TextBoxWidget(QWidget* parent);

    std::string text() const override { return QLineEdit::text().toStdString(); }
};

} // namespace lumeno

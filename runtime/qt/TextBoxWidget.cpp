#include "TextBoxWidget.h"

namespace lumeno {

TextBoxWidget::TextBoxWidget(QWidget* parent) : QLineEdit(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

} // namespace lumeno

#include "TextBoxControl.h"

namespace lumeno::qt {

TextBoxControl::TextBoxControl(QWidget* parent) : QLineEdit(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

} // namespace lumeno::qt

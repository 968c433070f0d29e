#include "TextBoxControl.h"

namespace lumeno::qt {

std::string TextBoxControl::text() const {
    return QLineEdit::text().toStdString();
}

} // namespace lumeno::qt

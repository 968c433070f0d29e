// The user's number format on Qt.
#include "Platform.h"

#include <QLocale>

namespace lumeno::platform {

std::string decimalSeparator() {
    // On Linux the system locale is named by LC_ALL, LC_NUMERIC or LANG; Qt's own locale
    // data describes it, whether or not the C library has it.
    return QLocale::system().decimalPoint().toStdString();
}

} // namespace lumeno::platform

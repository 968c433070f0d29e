// The message box on Qt Widgets.
#include "Platform.h"
#include "QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace lumeno::platform {

void showErrorBox(std::string_view title, std::string_view text) {
    QMessageBox::critical(QApplication::activeWindow(), qt::toQString(title), qt::toQString(text));
}

} // namespace lumeno::platform

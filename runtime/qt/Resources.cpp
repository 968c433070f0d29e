// The program's resources on Qt: compiled in under ":/", by file name.
#include "Platform.h"
#include "QtText.h"

#include <QFile>

namespace lumeno::platform {

std::vector<unsigned char> resourceFile(std::string_view name, std::string_view type) {
    QFile file(":/" + qt::toQString(name) + "." + qt::toQString(type));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

} // namespace lumeno::platform

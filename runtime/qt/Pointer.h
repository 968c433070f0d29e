#pragma once

#include <QCursor>

class QWidget;

namespace lumeno::qt {

// The busy pointer for a widget. On Wayland it is a still picture of an hourglass: Qt 6.4's
// Wayland client reads freed memory while it animates a cursor theme's wait cursor, and it
// never animates a picture. Elsewhere it is the cursor theme's own wait cursor.
QCursor busyPointer(const QWidget& widget);

} // namespace lumeno::qt

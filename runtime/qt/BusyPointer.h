#pragma once

#include <QCursor>

class QWidget;

namespace lumeno {

// The busy pointer for a widget: the cursor theme's own wait cursor, except on Wayland with
// Qt before 6.5, where it is a still picture of an hourglass (see BusyPointer.cpp).
QCursor busyPointer(const QWidget& widget);

} // namespace lumeno

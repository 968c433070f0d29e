#include "BusyPointer.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QWidget>

namespace lumeno {

namespace {

// Qt 6.4's Wayland client reads freed memory while it animates a cursor theme's wait cursor;
// it never animates a picture. Seen with 6.4.2 (Debian 12), the version tested; later versions
// get the theme's cursor (raise the bound should one of them show the fault too).
constexpr bool stillPointerOnWayland = QT_VERSION < QT_VERSION_CHECK(6, 5, 0);

// The hourglass is drawn on a grid of this many units a side, its centre the hot spot.
constexpr int gridSize = 24;

QPixmap hourglass(int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<qreal>(size) / gridSize, static_cast<qreal>(size) / gridSize);
    const QPolygonF glass({{7, 4},
                           {17, 4},
                           {17, 8},
                           {13.5, 12},
                           {17, 16},
                           {17, 20},
                           {7, 20},
                           {7, 16},
                           {10.5, 12},
                           {7, 8}});
    const QPolygonF sandAbove({{8.5, 8}, {15.5, 8}, {12, 11.5}});
    const QPolygonF sandBelow({{12, 15}, {16, 19}, {8, 19}});
    const QColor sand(196, 140, 40);
    // White halo first, so the black outline shows on dark backgrounds too.
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(glass);
    painter.drawRoundedRect(QRectF(4.5, 2, 15, 3), 1, 1);
    painter.drawRoundedRect(QRectF(4.5, 19, 15, 3), 1, 1);
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPolygon(glass);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sand);
    painter.drawPolygon(sandAbove);
    painter.drawPolygon(sandBelow);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(4.5, 2, 15, 3), 1, 1);
    painter.drawRoundedRect(QRectF(4.5, 19, 15, 3), 1, 1);
    return pixmap;
}

} // namespace

QCursor busyPointer(const QWidget& widget) {
    if (!stillPointerOnWayland ||
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return {Qt::WaitCursor};
    // The size the cursor theme's pointers have, as Qt's Wayland client takes it.
    const int themeSize = qEnvironmentVariableIntValue("XCURSOR_SIZE");
    const int size = themeSize > 0 ? themeSize : gridSize;
    return QCursor(hourglass(size, widget.devicePixelRatioF()), size / 2, size / 2);
}

} // namespace lumeno

#include "PictureBoxWidget.h"

#include "WindowDefinition.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace lumeno {

PictureBoxWidget::PictureBoxWidget(const ControlDefinition& control, const PixelImage& picture,
                                   ScreenDensity density, QWidget* parent)
    : QFrame(parent),
      model_(control.name, picture, palette().color(QPalette::Window).rgb(), density, *this) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    move(density.pixels(control.left), density.pixels(control.top));
    model_.setOuterSize(control.width, control.height);
}

void PictureBoxWidget::repaintRows(int top, int bottom) {
    const QRect client = contentsRect();
    update(client.left(), client.top() + top, client.width(), bottom - top);
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    const QRect client = contentsRect();
    QPainter painter(this);
    if (!client.contains(event->rect())) {
        // Qt's styles draw the border in lines one device pixel wide, which leave part of the
        // frame bare where a pixel is several device pixels: cover the frame, then draw it.
        for (const QRect& strip : QRegion(rect()).subtracted(client))
            painter.fillRect(strip, palette().window());
        drawFrame(&painter);
    }
    const QRect area = event->rect() & client;
    if (area.isEmpty())
        return;
    const PixelImage& shown = model_.shown();
    // The model's memory, painted where it is.
    const QImage image(reinterpret_cast<const uchar*>(shown.words()), shown.width(), shown.height(),
                       static_cast<qsizetype>(shown.width()) * 4, QImage::Format_RGB32);
    painter.drawImage(area.topLeft(), image, area.translated(-client.topLeft()));
    model_.painted();
}

} // namespace lumeno

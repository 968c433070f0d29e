#include "PictureBoxControl.h"

#include "FocusBorder.h"
#include "WindowDefinition.h"

#include <QAccessible>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <algorithm>
#include <utility>
#include <vector>

namespace lumeno::qt {

namespace {

// Boxes with rows drawn since they were last painted; a box is gone from here once
// destroyed.
std::vector<QPointer<PictureBoxControl>>& boxesWithDrawnRows() {
    static std::vector<QPointer<PictureBoxControl>> boxes;
    return boxes;
}

} // namespace

PictureBoxControl::PictureBoxControl(const ControlDefinition& control, const PixelImage& picture,
                                     ScreenDensity density, QWidget* parent)
    : QFrame(parent),
      box_(control.name, picture, palette().color(QPalette::Window).rgb(), density, *this) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    box_.setOuterSize(control.width, control.height);
}

void PictureBoxControl::repaintRows(int top, int bottom) {
    if (drawnTop_ == drawnBottom_) {
        boxesWithDrawnRows().emplace_back(this);
        drawnTop_ = top;
        drawnBottom_ = bottom;
    }
    drawnTop_ = std::min(drawnTop_, top);
    drawnBottom_ = std::max(drawnBottom_, bottom);
}

void PictureBoxControl::paintDrawnRows() {
    // Taken first: a paint may draw, and what it draws waits for the next time.
    const std::vector<QPointer<PictureBoxControl>> boxes = std::exchange(boxesWithDrawnRows(), {});
    for (const QPointer<PictureBoxControl>& box : boxes)
        if (box != nullptr)
            box->paintRows();
}

void PictureBoxControl::paintRows() {
    const QRect client = contentsRect();
    const int top = std::exchange(drawnTop_, 0);
    const int bottom = std::exchange(drawnBottom_, 0);
    repaint(client.left(), client.top() + top, client.width(), bottom - top);
}

void PictureBoxControl::pictureReplaced() {
    // Screen readers present a new description of the object they are on; others learn
    // from it that the picture changed.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void PictureBoxControl::paintEvent(QPaintEvent* event) {
    const QRect client = contentsRect();
    QPainter painter(this);
    if (!client.contains(event->rect())) {
        if (hasFocus()) {
            for (const PixelRect& strip : focusBorder(width(), height()))
                painter.fillRect(strip.left, strip.top, strip.width, strip.height,
                                 palette().highlight());
        } else {
            const QRegion frame = QRegion(rect()).subtracted(client);
            // Qt's styles draw the border in lines one device pixel wide, which leave part of
            // the frame bare where a pixel is several device pixels: cover it, then draw it.
            for (const QRect& strip : frame)
                painter.fillRect(strip, palette().window());
            drawFrame(&painter);
        }
    }
    const QRect area = event->rect() & client;
    if (area.isEmpty())
        return;
    const PixelImage& shown = box_.shown();
    // The model's memory, painted where it is.
    const QImage image(reinterpret_cast<const uchar*>(shown.words()), shown.width(), shown.height(),
                       static_cast<qsizetype>(shown.width()) * 4, QImage::Format_RGB32);
    painter.drawImage(area.topLeft(), image, area.translated(-client.topLeft()));
    box_.painted();
}

} // namespace lumeno::qt

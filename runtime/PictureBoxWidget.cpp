#include "PictureBoxWidget.h"

#include "RuntimeError.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

namespace lumeno {

namespace {

// Boxes with drawing not yet repainted; the event pump asks them to repaint.
std::vector<PictureBoxWidget*>& boxesWithDrawing() {
    static std::vector<PictureBoxWidget*> boxes;
    return boxes;
}

[[noreturn]] void failed(const QWidget& box, const std::string& what) {
    throw RuntimeError(ErrorKind::ControlCallFailed, box.objectName().toStdString() + ": " + what);
}

} // namespace

PictureBoxWidget::PictureBoxWidget(const QImage& picture, ScreenDensity density, QWidget* parent)
    : QFrame(parent), density_(density),
      boxPicture_(picture, palette().color(QPalette::Window).rgb()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    twipsPerPixel_ = density.twipsPerPixel();
    background_ = static_cast<std::int32_t>(boxPicture_.background());
    describeMemory();
}

PictureBoxWidget::~PictureBoxWidget() {
    std::erase(boxesWithDrawing(), this);
}

void PictureBoxWidget::place(int left, int top, int width, int height) {
    move(density_.pixels(left), density_.pixels(top));
    resizeOuter(width, height);
}

void PictureBoxWidget::setOuterWidth(int twips) {
    resizeOuter(twips, outerHeight_);
}

void PictureBoxWidget::setOuterHeight(int twips) {
    resizeOuter(outerWidth_, twips);
}

void PictureBoxWidget::resizeOuter(int widthTwips, int heightTwips) {
    const int width = density_.pixels(widthTwips);
    const int height = density_.pixels(heightTwips);
    if (width < 0 || height < 0 || width > QWIDGETSIZE_MAX || height > QWIDGETSIZE_MAX)
        failed(*this, "invalid size " + std::to_string(widthTwips) + " x " +
                          std::to_string(heightTwips) + " twips");
    outerWidth_ = widthTwips;
    outerHeight_ = heightTwips;
    if (size() == QSize(width, height))
        return;
    resize(width, height);
    const QSize client = contentsRect().size();
    columns_ = static_cast<float>(client.width());
    rows_ = static_cast<float>(client.height());
    if (persistent_) // keeps what was drawn; new parts show picture over background
        persistentImage_.resize(client.width(), client.height(), boxPicture_);
    readyRow_ = noRow;
    describeMemory();
}

void PictureBoxWidget::setPersistentDrawing(bool on) {
    if (on == persistent_)
        return;
    persistent_ = on;
    // Turning it on shows the same: the persistent image starts as what the box shows.
    if (on) {
        persistentImage_.reset(contentsRect().width(), contentsRect().height());
        readyRow_ = noRow;
        describeMemory();
    } else {
        discardDrawing(); // the box shows its picture again
    }
}

void PictureBoxWidget::describeMemory() {
    picture_ = {boxPicture_.bits(), boxPicture_.stride(), boxPicture_.width(),
                boxPicture_.height()};
    drawing_.bits = persistentImage_.bits();
    drawing_.stride = persistentImage_.stride();
    drawing_.rows = persistent_ ? persistentImage_.rowStates() : nullptr;
    describeDirectAccess();
}

void PictureBoxWidget::drawingRow(int row) {
    if (drawing_.rows[row] == RowState::FromPicture) {
        persistentImage_.startRow(row, boxPicture_);
        describeMemory(); // the first row allocates the image
    }
    persistentImage_.markDrawn(row);
    readyRow_ = row;
    describeDirectAccess();
    if (drawnTop_ >= drawnBottom_) {
        boxesWithDrawing().push_back(this);
        drawnTop_ = drawnBottom_ = row;
    }
    drawnTop_ = std::min(drawnTop_, row);
    drawnBottom_ = std::max(drawnBottom_, row + 1);
}

void PictureBoxWidget::notDrawing() const {
    failed(*this, "setting a pixel needs persistent drawing on");
}

void PictureBoxWidget::invalidColour(std::int32_t colourValue) const {
    failed(*this, "invalid colour value " + std::to_string(colourValue));
}

void PictureBoxWidget::noPixelAt(float x, float y) const {
    failed(*this, "no pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

void PictureBoxWidget::persistentImageToPicture() {
    if (!persistent_)
        failed(*this, "there is no persistent image without persistent drawing");
    boxPicture_.setPicture(persistentImage_.takeImage(boxPicture_));
    readyRow_ = noRow;
    describeMemory();
}

void PictureBoxWidget::discardDrawing() {
    const QSize client = persistent_ ? contentsRect().size() : QSize(0, 0);
    persistentImage_.reset(client.width(), client.height());
    readyRow_ = noRow;
    describeMemory();
    std::erase(boxesWithDrawing(), this);
    drawnTop_ = drawnBottom_ = 0;
    update();
}

void PictureBoxWidget::requestRepaint() {
    const QRect client = contentsRect();
    // Painted at once: the event pump that follows need not wake itself for it.
    repaint(client.left(), client.top() + drawnTop_, client.width(), drawnBottom_ - drawnTop_);
    persistentImage_.repaintRequested(drawnTop_, drawnBottom_);
    drawnTop_ = drawnBottom_ = 0;
    readyRow_ = noRow; // its marks are cleared now
    describeDirectAccess();
}

void PictureBoxWidget::repaintDrawnAreas() {
    for (PictureBoxWidget* box : boxesWithDrawing())
        box->requestRepaint();
    boxesWithDrawing().clear();
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    const QRect client = contentsRect();
    if (!client.contains(event->rect()))
        QFrame::paintEvent(event); // the border
    const QRect area = (event->rect() & client).translated(-client.topLeft());
    if (area.isEmpty())
        return;
    QPainter painter(this);
    if (persistent_)
        persistentImage_.paint(painter, area, client.topLeft(), boxPicture_);
    else
        boxPicture_.paint(painter, area, client.topLeft());
}

} // namespace lumeno

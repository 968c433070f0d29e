#include "PictureBoxWidget.h"

#include "RuntimeError.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace lumeno {

namespace {

// Boxes with drawing not yet repainted; the event pump asks them to repaint.
std::vector<PictureBoxWidget*>& boxesWithDrawing() {
    static std::vector<PictureBoxWidget*> boxes;
    return boxes;
}

// Picture-box outer sizes are limited like any widget's; the inner size may still be
// too large for a 16-bit integer, which the processing run reports as an overflow.
constexpr int largestOuterPixels = QWIDGETSIZE_MAX;

[[noreturn]] void failed(const QWidget& box, const std::string& what) {
    throw RuntimeError(ErrorKind::ControlCallFailed, box.objectName().toStdString() + ": " + what);
}

} // namespace

PictureBoxWidget::PictureBoxWidget(const QImage& picture, ScreenDensity density, QWidget* parent)
    : QFrame(parent), density_(density), picture_(picture.convertToFormat(QImage::Format_RGB32)),
      background_(palette().color(QPalette::Window).rgb()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    if (width < 0 || height < 0 || width > largestOuterPixels || height > largestOuterPixels)
        failed(*this, "invalid size " + std::to_string(widthTwips) + " x " +
                          std::to_string(heightTwips) + " twips");
    outerWidth_ = widthTwips;
    outerHeight_ = heightTwips;
    if (size() == QSize(width, height))
        return;
    resize(width, height);
    if (persistent_) { // keep what was drawn; new parts show picture over background
        QImage grown = shownImage();
        QPainter(&grown).drawImage(0, 0, image_);
        image_ = grown;
    }
}

double PictureBoxWidget::unitsPerPixel() const {
    return scaleMode_ == ScaleMode::Pixels ? 1.0 : density_.twipsPerPixel();
}

float PictureBoxWidget::innerWidth() const {
    return static_cast<float>(clientSize().width() * unitsPerPixel());
}

float PictureBoxWidget::innerHeight() const {
    return static_cast<float>(clientSize().height() * unitsPerPixel());
}

QImage PictureBoxWidget::shownImage() const {
    QImage shown(clientSize(), QImage::Format_RGB32);
    shown.fill(background_);
    QPainter(&shown).drawImage(0, 0, picture_);
    return shown;
}

void PictureBoxWidget::setPersistentDrawing(bool on) {
    if (on == persistent_)
        return;
    persistent_ = on;
    image_ = on ? shownImage() : QImage();
    update();
}

QPoint PictureBoxWidget::pixelAt(float x, float y) const {
    const double column = std::floor(x / unitsPerPixel());
    const double row = std::floor(y / unitsPerPixel());
    if (!(column >= 0 && column < clientSize().width() && row >= 0 && row < clientSize().height()))
        failed(*this, "no pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    return {static_cast<int>(column), static_cast<int>(row)};
}

std::int32_t PictureBoxWidget::readPixel(float x, float y) const {
    const QPoint pixel = pixelAt(x, y);
    QRgb shown = background_;
    if (persistent_)
        shown = image_.pixel(pixel);
    else if (picture_.rect().contains(pixel))
        shown = picture_.pixel(pixel);
    return qRed(shown) | qGreen(shown) << 8 | qBlue(shown) << 16;
}

void PictureBoxWidget::setPixel(float x, float y, std::int32_t colourValue) {
    if (!persistent_)
        failed(*this, "setting a pixel needs persistent drawing on");
    if (colourValue < 0 || colourValue > 0xFFFFFF)
        failed(*this, "invalid colour value " + std::to_string(colourValue));
    const QPoint pixel = pixelAt(x, y);
    image_.setPixel(pixel, qRgb(colourValue & 0xFF, colourValue >> 8 & 0xFF, colourValue >> 16));
    if (drawn_.isNull())
        boxesWithDrawing().push_back(this);
    drawn_ |= QRect(pixel, QSize(1, 1));
}

void PictureBoxWidget::persistentImageToPicture() {
    if (!persistent_)
        failed(*this, "there is no persistent image without persistent drawing");
    picture_ = image_;
}

void PictureBoxWidget::discardDrawing() {
    if (persistent_)
        image_ = shownImage();
    std::erase(boxesWithDrawing(), this);
    drawn_ = QRect();
    update();
}

void PictureBoxWidget::repaintDrawnAreas() {
    for (PictureBoxWidget* box : boxesWithDrawing()) {
        box->update(box->drawn_.translated(box->contentsRect().topLeft()));
        box->drawn_ = QRect();
    }
    boxesWithDrawing().clear();
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the border
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    if (persistent_) {
        painter.drawImage(client.topLeft(), image_);
    } else {
        painter.fillRect(client, QColor::fromRgb(background_));
        painter.drawImage(client.topLeft(), picture_);
    }
}

} // namespace lumeno

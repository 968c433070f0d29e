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

// Kept out of line and marked cold, so that the per-pixel operations stay small.
[[noreturn, gnu::cold, gnu::noinline]] void failed(const QWidget& box, const std::string& what) {
    throw RuntimeError(ErrorKind::ControlCallFailed, box.objectName().toStdString() + ": " + what);
}

[[noreturn, gnu::cold, gnu::noinline]] void noPixelAt(const QWidget& box, float x, float y) {
    failed(box, "no pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

[[noreturn, gnu::cold, gnu::noinline]] void invalidColour(const QWidget& box, std::int32_t colour) {
    failed(box, "invalid colour value " + std::to_string(colour));
}

} // namespace

PictureBoxWidget::PictureBoxWidget(const QImage& picture, ScreenDensity density, QWidget* parent)
    : QFrame(parent), density_(density),
      picture_(picture, palette().color(QPalette::Window).rgb()) {
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
    if (width < 0 || height < 0 || width > QWIDGETSIZE_MAX || height > QWIDGETSIZE_MAX)
        failed(*this, "invalid size " + std::to_string(widthTwips) + " x " +
                          std::to_string(heightTwips) + " twips");
    outerWidth_ = widthTwips;
    outerHeight_ = heightTwips;
    if (size() == QSize(width, height))
        return;
    resize(width, height);
    clientWidth_ = contentsRect().width();
    clientHeight_ = contentsRect().height();
    if (persistent_) // keeps what was drawn; new parts show picture over background
        image_.resize(clientWidth_, clientHeight_, picture_);
}

float PictureBoxWidget::innerWidth() const {
    const double unit = scaleMode_ == ScaleMode::Pixels ? 1.0 : density_.twipsPerPixel();
    return static_cast<float>(clientWidth_ * unit);
}

float PictureBoxWidget::innerHeight() const {
    const double unit = scaleMode_ == ScaleMode::Pixels ? 1.0 : density_.twipsPerPixel();
    return static_cast<float>(clientHeight_ * unit);
}

void PictureBoxWidget::setPersistentDrawing(bool on) {
    if (on == persistent_)
        return;
    persistent_ = on;
    image_.reset(on ? clientWidth_ : 0, on ? clientHeight_ : 0);
    update();
}

inline PictureBoxWidget::Pixel PictureBoxWidget::pixelAt(float x, float y) const {
    double column = x;
    double row = y;
    if (scaleMode_ == ScaleMode::Twips) {
        column /= density_.twipsPerPixel();
        row /= density_.twipsPerPixel();
    }
    if (!(column >= 0 && column < clientWidth_ && row >= 0 && row < clientHeight_))
        noPixelAt(*this, x, y);
    return {static_cast<int>(column), static_cast<int>(row)}; // floor: both are >= 0
}

std::int32_t PictureBoxWidget::readPixel(float x, float y) const {
    const Pixel pixel = pixelAt(x, y);
    const std::uint32_t shown = persistent_ ? image_.pixel(pixel.column, pixel.row, picture_)
                                            : picture_.pixel(pixel.column, pixel.row);
    return static_cast<std::int32_t>(shown);
}

void PictureBoxWidget::setPixel(float x, float y, std::int32_t colourValue) {
    if (!persistent_)
        failed(*this, "setting a pixel needs persistent drawing on");
    if (static_cast<std::uint32_t>(colourValue) > BoxPicture::colourBits)
        invalidColour(*this, colourValue);
    const Pixel pixel = pixelAt(x, y);
    image_.drawableRow(pixel.row, picture_)[pixel.column] =
        static_cast<std::uint32_t>(colourValue) | BoxPicture::opaque;
    if (drawnLeft_ >= drawnRight_) {
        boxesWithDrawing().push_back(this);
        drawnLeft_ = drawnRight_ = pixel.column;
        drawnTop_ = drawnBottom_ = pixel.row;
    }
    drawnLeft_ = std::min(drawnLeft_, pixel.column);
    drawnRight_ = std::max(drawnRight_, pixel.column + 1);
    drawnTop_ = std::min(drawnTop_, pixel.row);
    drawnBottom_ = std::max(drawnBottom_, pixel.row + 1);
}

void PictureBoxWidget::persistentImageToPicture() {
    if (!persistent_)
        failed(*this, "there is no persistent image without persistent drawing");
    picture_.setPicture(image_.takeImage(picture_));
}

void PictureBoxWidget::discardDrawing() {
    if (persistent_)
        image_.reset(clientWidth_, clientHeight_);
    std::erase(boxesWithDrawing(), this);
    drawnLeft_ = drawnRight_ = 0;
    update();
}

void PictureBoxWidget::requestRepaint() {
    const QRect drawn(drawnLeft_, drawnTop_, drawnRight_ - drawnLeft_, drawnBottom_ - drawnTop_);
    update(drawn.translated(contentsRect().topLeft()));
    drawnLeft_ = drawnRight_ = 0;
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
        image_.paint(painter, area, client.topLeft(), picture_);
    else
        picture_.paint(painter, area, client.topLeft());
}

} // namespace lumeno

#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdint>

namespace lumeno {

// What a picture box shows without persistent drawing: its picture, unscaled from the
// top-left corner, over its background colour. Pixels are 0xFFRRGGBB words (QRgb), the
// layout of the window system's images, so painting them is a plain copy.
class BoxPicture {
public:
    static constexpr QImage::Format format = QImage::Format_RGB32;

    BoxPicture(const QImage& picture, QRgb background);

    void setPicture(QImage picture);

    // The picture's pixel memory, and the background as a colour value.
    const std::uint32_t* bits() const { return bits_; }
    qsizetype stride() const { return stride_; } // words per row
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t background() const { return background_; }

    // Writes what the box shows in a row, `width` pixels.
    void copyRow(int row, int width, std::uint32_t* out) const;

    // Paints the client-area rectangle `area`, the client area starting at `origin`.
    void paint(QPainter& painter, const QRect& area, QPoint origin) const;

private:
    QImage picture_;
    const std::uint32_t* bits_ = nullptr;
    qsizetype stride_ = 0; // words per row
    int width_ = 0;
    int height_ = 0;
    QRgb backgroundWord_;
    std::uint32_t background_; // the same as a colour value
};

} // namespace lumeno

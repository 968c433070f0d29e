#include "BoxPicture.h"

#include <algorithm>
#include <utility>

namespace lumeno {

BoxPicture::BoxPicture(const QImage& picture, QRgb background)
    : backgroundWord_(background | 0xFF000000),
      background_(static_cast<std::uint32_t>(qRed(background) | qGreen(background) << 8 |
                                             qBlue(background) << 16)) {
    setPicture(picture);
}

void BoxPicture::setPicture(QImage picture) {
    picture_ = picture.format() == format ? std::move(picture) : picture.convertToFormat(format);
    bits_ = reinterpret_cast<const std::uint32_t*>(picture_.constBits());
    stride_ = picture_.bytesPerLine() / 4;
    width_ = picture_.width();
    height_ = picture_.height();
}

void BoxPicture::copyRow(int row, int width, std::uint32_t* out) const {
    int column = 0;
    if (row < height_) {
        column = std::min(width, width_);
        std::copy_n(bits_ + row * stride_, column, out);
    }
    std::fill(out + column, out + width, backgroundWord_);
}

void BoxPicture::paint(QPainter& painter, const QRect& area, QPoint origin) const {
    const QRect covered = area & picture_.rect();
    if (covered != area)
        painter.fillRect(area.translated(origin), QColor::fromRgb(backgroundWord_));
    if (!covered.isEmpty())
        painter.drawImage(covered.topLeft() + origin, picture_, covered);
}

} // namespace lumeno

#include "LabelControl.h"

#include <QFontMetrics>

namespace lumeno::qt {

LabelControl::LabelControl(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

bool LabelControl::captionFits(double points) const {
    QFont font = this->font();
    font.setPointSizeF(points);
    const QRect needed =
        QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), size()), Qt::TextWordWrap, text());
    return needed.width() <= width() && needed.height() <= height();
}

void LabelControl::setPointSize(double points) {
    QFont font = this->font();
    font.setPointSizeF(points);
    setFont(font);
}

} // namespace lumeno::qt

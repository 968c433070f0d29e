#include "PictureBoxAccessible.h"

#include "PictureBoxWidget.h"
#include "QtText.h"

namespace lumeno {

PictureBoxAccessible::PictureBoxAccessible(PictureBoxWidget* box)
    : QAccessibleWidget(box, QAccessible::Graphic) {}

PictureBoxWidget* PictureBoxAccessible::box() const {
    return static_cast<PictureBoxWidget*>(widget());
}

QString PictureBoxAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Description)
        return toQString(box()->pictureBox().description());
    return QAccessibleWidget::text(kind);
}

void* PictureBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ImageInterface)
        return static_cast<QAccessibleImageInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString PictureBoxAccessible::imageDescription() const {
    return toQString(box()->pictureBox().description());
}

// The image is what the client area shows, inside the border.
QSize PictureBoxAccessible::imageSize() const {
    return box()->contentsRect().size();
}

QPoint PictureBoxAccessible::imagePosition() const {
    return box()->mapToGlobal(box()->contentsRect().topLeft());
}

} // namespace lumeno

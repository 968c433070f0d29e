#include "PictureBoxAccessible.h"

#include "PictureBoxControl.h"
#include "QtText.h"

namespace lumeno::qt {

PictureBoxAccessible::PictureBoxAccessible(PictureBoxControl* box)
    : QAccessibleWidget(box, QAccessible::Graphic) {}

PictureBoxControl* PictureBoxAccessible::box() const {
    return static_cast<PictureBoxControl*>(widget());
}

QString PictureBoxAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Description)
        return toQString(box()->model().description());
    return QAccessibleWidget::text(kind);
}

void* PictureBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ImageInterface)
        return static_cast<QAccessibleImageInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString PictureBoxAccessible::imageDescription() const {
    return toQString(box()->model().description());
}

// The image is what the client area shows, inside the border.
QSize PictureBoxAccessible::imageSize() const {
    return box()->contentsRect().size();
}

QPoint PictureBoxAccessible::imagePosition() const {
    return box()->mapToGlobal(box()->contentsRect().topLeft());
}

} // namespace lumeno::qt

#include "AnnouncementWidget.h"

namespace lumeno {

AnnouncementWidget::AnnouncementWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
}

void AnnouncementWidget::announce(const QString& text) {
    // Each announcement is a notification appearing anew.
    hide();
    setAccessibleName(text);
    show();
}

} // namespace lumeno

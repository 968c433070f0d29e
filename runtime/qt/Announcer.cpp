#include "Announcer.h"

namespace lumeno::qt {

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
}

void Announcer::announce(const QString& text) {
    // Each announcement is a notification appearing anew.
    hide();
    setAccessibleName(text);
    show();
}

} // namespace lumeno::qt

#include "Announcer.h"

#include <QAccessible>

namespace lumeno::qt {

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
}

void Announcer::announce(const QString& text) {
    // Each announcement is a notification appearing anew. Shown once, the widget stays shown
    // and tells assistive technology that it hid and showed again, what hide() and show()
    // would tell it: a widget's show() also asks the window system where the pointer is, a
    // round trip to the X server at the end of every run.
    if (isHidden()) {
        setAccessibleName(text);
        show();
        return;
    }
    QAccessibleEvent hidden(this, QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&hidden);
    setAccessibleName(text);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace lumeno::qt

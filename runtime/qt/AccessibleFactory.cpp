#include "AccessibleFactory.h"

#include "Announcer.h"
#include "FormAccessible.h"
#include "PictureBoxAccessible.h"
#include "PictureBoxControl.h"
#include "TextBoxAccessible.h"
#include "TextBoxControl.h"
#include "Window.h"

#include <QAccessible>

namespace lumeno::qt {

namespace {

// Qt asks once per class up an object's hierarchy, starting with the most derived class
// that declares itself to Qt; these widgets do not, so they are told apart by their type.
QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object) {
    if (auto* form = dynamic_cast<Window*>(object))
        return new FormAccessible(form);
    if (auto* box = dynamic_cast<PictureBoxControl*>(object))
        return new PictureBoxAccessible(box);
    if (auto* field = dynamic_cast<TextBoxControl*>(object))
        return new TextBoxAccessible(field);
    if (auto* announcement = dynamic_cast<Announcer*>(object))
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibleFactory() {
    QAccessible::installFactory(accessibleFor);
}

} // namespace lumeno::qt

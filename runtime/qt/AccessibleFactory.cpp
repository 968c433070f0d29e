#include "AccessibleFactory.h"

#include "FormAccessible.h"
#include "PictureBoxAccessible.h"
#include "PictureBoxControl.h"
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
    return nullptr;
}

} // namespace

void installAccessibleFactory() {
    QAccessible::installFactory(accessibleFor);
}

} // namespace lumeno::qt

#include "AccessibleFactory.h"

#include "AnnouncementWidget.h"
#include "FormAccessible.h"
#include "FormWidget.h"
#include "PictureBoxAccessible.h"
#include "PictureBoxWidget.h"
#include "TextBoxAccessible.h"
#include "TextBoxWidget.h"

#include <QAccessible>

namespace lumeno {

namespace {

// Qt asks once per class up an object's hierarchy, starting with the most derived class
// that declares itself to Qt; these widgets do not, so they are told apart by their type.
QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object) {
    if (auto* form = dynamic_cast<FormWidget*>(object))
        return new FormAccessible(form);
    if (auto* box = dynamic_cast<PictureBoxWidget*>(object))
        return new PictureBoxAccessible(box);
    if (auto* field = dynamic_cast<TextBoxWidget*>(object))
        return new TextBoxAccessible(field);
    if (auto* announcement = dynamic_cast<AnnouncementWidget*>(object))
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibleFactory() {
    QAccessible::installFactory(accessibleFor);
}

} // namespace lumeno

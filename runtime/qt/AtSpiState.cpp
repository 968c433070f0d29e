#include "AtSpiState.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

namespace lumeno::qt {

void sendBusyChanged(QObject* object, bool busy) {
    // The bridge's connection to the accessibility bus, and its path for an object.
    QDBusConnection bus(QStringLiteral("a11y"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    if (!bus.isConnected() || accessible == nullptr)
        return;
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") +
                         QString::number(QAccessible::uniqueId(accessible));
    QDBusMessage signal = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    signal.setArguments({QStringLiteral("busy"), busy ? 1 : 0, 0,
                         QVariant::fromValue(QDBusVariant(0)), QVariantMap()});
    bus.send(signal);
}

} // namespace lumeno::qt

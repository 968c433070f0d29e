#pragma once

class QObject;

namespace lumeno::qt {

// Tells the accessibility bus that an object became busy or stopped being busy. Qt 6.4's
// bridge to the bus passes on changes of few states, and not this one; the signal goes out
// on the bridge's own connection, for the object as the bridge names it. Without the bridge
// it does nothing.
void sendBusyChanged(QObject* object, bool busy);

} // namespace lumeno::qt

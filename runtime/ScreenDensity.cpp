#include "ScreenDensity.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace lumeno {

ScreenDensity ScreenDensity::ofPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenDensity(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

int ScreenDensity::pixels(int twips) const {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel_));
}

} // namespace lumeno

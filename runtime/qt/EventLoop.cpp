// The application and its event loop on Qt Widgets.
#include "PictureBoxControl.h"
#include "Platform.h"
#include "QtText.h"
#include "Runtime.h"
#include "Window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <optional>

namespace lumeno::platform {

namespace {

// Qt 6.4's Wayland client can deadlock while it disconnects (an event thread quits holding a
// prepared read that the other one then waits for), which would leave the program running
// with no window; there the process ends without destroying the QApplication. Seen with
// 6.4.2 (Debian 12), the version tested; later versions tear down normally (raise the bound
// should one of them hang too).
constexpr bool workaroundWaylandDisconnect = QT_VERSION < QT_VERSION_CHECK(6, 5, 0);

std::optional<QApplication>& application() {
    static std::optional<QApplication> made;
    return made;
}

} // namespace

void startApplication(std::string_view name, std::string_view version) {
    // One device pixel per pixel at every density: the window definition's twips say
    // how large things are, through the screen's logical dpi, not Qt's scaling. A user who
    // sets Qt's scaling keeps it: Qt then reports the logical dpi divided by its factor, so
    // the twips give the layout at that dpi and each pixel shows as the factor's device
    // pixels, as with QT_SCALE_FACTOR.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The program takes no command line; Qt is given only the program's name.
    static std::string program(name);
    static char* arguments[] = {program.data(), nullptr};
    static int count = 1;
    application().emplace(count, arguments);
    QApplication::setApplicationName(qt::toQString(name));
    QApplication::setApplicationVersion(qt::toQString(version));
    // The desktop entry is named after the program; on Wayland this is also the window's
    // app id, by which the compositor matches the window to the entry and its icon.
    QGuiApplication::setDesktopFileName(qt::toQString(name));
    // The program ends when its window is closed, also in the middle of a handler.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &qt::PictureBoxControl::paintDrawnRows);
}

int runEventLoop() {
    const int status = QApplication::exec();
    // A window closed during a handler awaits destruction.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

void pumpEvents() {
    qt::PictureBoxControl::paintDrawnRows();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void exitEventLoop(int status) {
    QCoreApplication::exit(status);
}

void endApplication(int status) {
    // The form, its windows and every pending delete are gone by now; on the workaround's
    // path only the QApplication is left to the end of the process.
    if (workaroundWaylandDisconnect &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        endProgram(status);
    application().reset();
}

void destroyAfterEvent(std::unique_ptr<FormWindow> window) {
    static_cast<qt::Window*>(window.release())->deleteLater();
}

std::string applicationName() {
    return QCoreApplication::applicationName().toStdString();
}

} // namespace lumeno::platform

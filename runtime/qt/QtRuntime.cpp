// The run-time's entry points on Qt Widgets.
#include "ErrorReport.h"
#include "Form.h"
#include "FormWidget.h"
#include "PictureBoxWidget.h"
#include "Platform.h"
#include "QtText.h"
#include "Runtime.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>

namespace lumeno {

namespace {

// Qt 6.4's Wayland client can deadlock while it disconnects (an event thread quits holding a
// prepared read that the other one then waits for), which would leave the program running
// with no window; there the process ends without destroying the QApplication. Seen with
// 6.4.2 (Debian 12), the version tested; later versions tear down normally (raise the bound
// should one of them hang too).
constexpr bool workaroundWaylandDisconnect = QT_VERSION < QT_VERSION_CHECK(6, 5, 0);

} // namespace

int start(const ProgramHeader& header) {
    // One device pixel per pixel at every density: the window definition's twips say
    // how large things are, through the screen's logical dpi, not Qt's scaling. A user who
    // sets Qt's scaling keeps it: Qt then reports the logical dpi divided by its factor, so
    // the twips give the layout at that dpi and each pixel shows as the factor's device
    // pixels, as with QT_SCALE_FACTOR.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The program takes no command line; Qt is given only the program's name.
    static std::string name(header.applicationName);
    static char* arguments[] = {name.data(), nullptr};
    static int count = 1;
    QApplication application(count, arguments);
    QApplication::setApplicationName(toQString(header.applicationName));
    QApplication::setApplicationVersion(toQString(header.applicationVersion));
    // The desktop entry is named after the program; on Wayland this is also the window's
    // app id, by which the compositor matches the window to the entry and its icon.
    QGuiApplication::setDesktopFileName(toQString(header.applicationName));
    // The program ends when its window is closed, also in the middle of a handler.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &PictureBoxWidget::paintDrawnRows);
    int status = 0;
    {
        Form form(header.startupWindow, header.bindings);
        form.showAtStart();
        status = QApplication::exec();
        // A window closed during a handler awaits destruction; destroy it before the form.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The form, its windows and every pending delete are gone by now; on the workaround's
    // path only the QApplication is left to the end of the process.
    if (workaroundWaylandDisconnect &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        endProgram(status);
    return status;
}

void pumpEvents() {
    PictureBoxWidget::paintDrawnRows();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<FormWidget>(definition, form);
}

void destroyWhenIdle(std::unique_ptr<FormWindow> window) {
    static_cast<FormWidget*>(window.release())->deleteLater();
}

void exitEventLoop(int status) {
    QCoreApplication::exit(status);
}

std::string applicationName() {
    return QCoreApplication::applicationName().toStdString();
}

void showErrorBox(std::string_view title, std::string_view text) {
    QMessageBox::critical(QApplication::activeWindow(), toQString(title), toQString(text));
}

std::string decimalSeparator() {
    // On Linux the system locale is named by LC_ALL, LC_NUMERIC or LANG; Qt's own locale
    // data describes it, whether or not the C library has it.
    return QLocale::system().decimalPoint().toStdString();
}

} // namespace platform
} // namespace lumeno

#include "Runtime.h"

#include "Form.h"
#include "PictureBoxWidget.h"
#include "QtText.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace lumeno {

int start(int& argc, char** argv, const ProgramHeader& header) {
    // One device pixel per pixel at every density: the window definition's twips say
    // how large things are, through the screen's logical dpi, not Qt's scaling.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    QApplication::setApplicationName(toQString(header.applicationName));
    QApplication::setApplicationVersion(toQString(header.applicationVersion));
    // The program ends when its window is closed, also in the middle of a handler.
    QApplication::setQuitOnLastWindowClosed(false);
    Form form(header.startupWindow, header.bindings);
    form.show();
    const int status = QApplication::exec();
    // A window closed during a handler awaits destruction; destroy it before the form.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

void pumpEvents() {
    PictureBoxWidget::repaintDrawnAreas();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void endProgram(int status) {
    std::fflush(nullptr);
    // No destructors and no further event handling: the windows go with the process.
    std::_Exit(status);
}

} // namespace lumeno

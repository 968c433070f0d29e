// The least a processing run in lumeno's window must do, for timing the click on Go to
// the last row on screen against it: a window of Form1's client size with its source
// box, result box, field and Go button where Form1 has them at the screen's logical
// dpi. Go disables itself, sets the busy pointer, pumps events once, builds the curve's
// 256 outputs for the field's b, then maps the result box's client area row by row
// through them from the source box, repainting the row and pumping events after each;
// then enables Go and restores the pointer.
//
// Usage: floor_window PICTURE   (lumeno's built-in picture, resources/picture.bmp)
#include "FloorForm.h"
#include "ImageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

using namespace floor_form;

void run(QWidget& window, QPushButton& go, const QLineEdit& text, const ImageBox& from,
         ImageBox& to) {
    go.setEnabled(false);
    window.setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    bool number = false;
    const float b = text.text().toFloat(&number); // through double, as the tests read it
    std::array<std::uint8_t, 256> table{};
    if (number && curveTable(b, table)) {
        const int rows = to.rows();
        const int columns = to.columns();
        for (int y = 0; y < rows; ++y) {
            const QRgb* in = from.row(y);
            QRgb* out = to.row(y);
            for (int x = 0; x < columns; ++x)
                out[x] = qRgb(table[qRed(in[x])], table[qGreen(in[x])], table[qBlue(in[x])]);
            to.repaintRow(y);
            QCoreApplication::processEvents();
        }
    }
    go.setEnabled(true);
    window.unsetCursor();
}

} // namespace

int main(int argc, char** argv) {
    // One device pixel per pixel at every density, as lumeno lays out.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    const QImage picture = argc == 2 ? QImage(argv[1]) : QImage();
    if (picture.isNull()) {
        std::fprintf(stderr, "usage: floor_window PICTURE (a picture file Qt can read)\n");
        return 2;
    }
    const double twipsPerPixel = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInch();
    const auto pixels = [twipsPerPixel](int twips) {
        return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
    };
    const auto rect = [&pixels](const std::array<int, 4>& twips) {
        return QRect(pixels(twips[0]), pixels(twips[1]), pixels(twips[2]), pixels(twips[3]));
    };

    QWidget window;
    window.setWindowTitle("Floor");
    window.resize(pixels(clientSize[0]), pixels(clientSize[1]));
    // Created in Form1's tab order, so that Go hands the focus to the result box when it
    // is disabled, as in lumeno.
    const ImageBox from(picture, rect(sourceBox), &window);
    QPushButton go("Go", &window);
    go.setGeometry(rect(goButton));
    ImageBox to(picture, rect(resultBox), &window);
    QLineEdit text(&window);
    text.setGeometry(rect(field));
    QObject::connect(&go, &QPushButton::clicked, [&] { run(window, go, text, from, to); });
    window.show();
    return QApplication::exec();
}

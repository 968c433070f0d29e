// The real processing run (the Go button's handler) on a window whose picture boxes are
// enlarged to W x H client pixels and whose source box holds a W x H picture, on Qt's
// offscreen platform, b = 2. Reports nanoseconds per pixel, pumps and repaints included,
// and the longest stall of the event loop during a run.
#include "Form.h"
#include "Form1.h"
#include "Program.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using lumeno::ControlDefinition;
using lumeno::ControlKind;

constexpr int twipsPerPixel = 15; // the offscreen platform's 96 dpi
constexpr int border = 2;

// Form1's definition with both boxes enlarged and the source box given `picture`.
class EnlargedForm1 {
public:
    EnlargedForm1(int width, int height, std::string picture) : picture_(std::move(picture)) {
        const int boxWidth = (width + 2 * border) * twipsPerPixel;
        const int boxHeight = (height + 2 * border) * twipsPerPixel;
        const int below = 240 + boxHeight;
        for (ControlDefinition control : lumeno::form1Definition().controls) {
            if (control.kind == ControlKind::PictureBox) {
                const bool isSource = control.name == "PicFrom";
                control.content = isSource ? std::string_view(picture_) : control.content;
                control.left = isSource ? 120 : 240 + boxWidth;
                control.width = boxWidth;
                control.height = boxHeight;
            } else {
                control.top += below - 120;
            }
            controls_.push_back(control);
        }
        definition_ = lumeno::form1Definition();
        definition_.controls = controls_;
        definition_.clientWidth = 360 + 2 * boxWidth;
        definition_.clientHeight = below + 2000;
    }
    const lumeno::WindowDefinition& definition() const { return definition_; }

private:
    std::string picture_;
    std::vector<ControlDefinition> controls_;
    lumeno::WindowDefinition definition_{lumeno::form1Definition()};
};

// A W x H picture of gradients with noise, written as a BMP file.
std::string writePicture(const QTemporaryDir& folder, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = static_cast<int>(noise >> 28);
            line[x] = qRgb((x * 255 / width + n) & 0xFF, (y * 255 / height + n) & 0xFF,
                           ((x + y) * 255 / (width + height)) & 0xFF);
        }
    }
    const QString path = folder.filePath(QString("picture-%1x%2.bmp").arg(width).arg(height));
    image.save(path);
    return path.toStdString();
}

void BM_Run(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const QTemporaryDir folder;
    const EnlargedForm1 enlarged(width, height, writePicture(folder, width, height));
    const bool defined = width == 149 && height == 165;
    const lumeno::WindowDefinition& definition =
        defined ? lumeno::form1Definition() : enlarged.definition();

    double longestStall = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<lumeno::Form>(definition, lumeno::programHeader().bindings);
        form->show();
        QCoreApplication::processEvents();
        QApplication::topLevelWidgets()
            .front()
            ->findChild<QLineEdit*>("txtBrightness")
            ->setText("2");
        // The dispatcher wakes in every event pump of the run: the gaps are the stalls.
        // (A zero timer would add a timer of its own to every pump.)
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        const QMetaObject::Connection pumpWatch = QObject::connect(
            QCoreApplication::eventDispatcher(), &QAbstractEventDispatcher::awake, [&] {
                longest = std::max(longest, clock.nsecsElapsed() - last);
                last = clock.nsecsElapsed();
            });
        state.ResumeTiming();

        clock.start();
        form->click("cmdGo");
        longest = std::max(longest, clock.nsecsElapsed() - last);

        state.PauseTiming();
        QObject::disconnect(pumpWatch);
        longestStall = std::max(longestStall, static_cast<double>(longest) / 1e6);
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["ns_per_px"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * width * height,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["max_stall_ms"] = longestStall;
    state.counters["pixels"] = static_cast<double>(width) * height;
}
BENCHMARK(BM_Run)
    ->Args({149, 165})
    ->Args({500, 500})
    ->Args({1000, 1000})
    ->Args({2000, 1500})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName("lumeno");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

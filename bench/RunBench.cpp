// The real processing run (the Go button's handler) on a window whose picture boxes are
// enlarged to W x H client pixels (the built-in picture over the background), on Qt's
// offscreen platform, b = 2. Reports nanoseconds per pixel, pumps and repaints included,
// and the longest stall of the event loop during a run.
#include "Form.h"
#include "Form1.h"
#include "Program.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using lumeno::ControlDefinition;
using lumeno::ControlKind;

constexpr int twipsPerPixel = 15; // the offscreen platform's 96 dpi
constexpr int border = 2;

// Form1's definition with both boxes enlarged.
class EnlargedForm1 {
public:
    EnlargedForm1(int width, int height) {
        const int boxWidth = (width + 2 * border) * twipsPerPixel;
        const int boxHeight = (height + 2 * border) * twipsPerPixel;
        const int below = 240 + boxHeight;
        for (ControlDefinition control : lumeno::form1Definition().controls) {
            if (control.kind == ControlKind::PictureBox) {
                control.left = control.name == "PicFrom" ? 120 : 240 + boxWidth;
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
    std::vector<ControlDefinition> controls_;
    lumeno::WindowDefinition definition_{lumeno::form1Definition()};
};

void BM_Run(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const EnlargedForm1 enlarged(width, height);
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
    ->Args({302, 334})
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

// The mapping of whole colour values, b = 2, over a 4000 x 3000 picture.
#include "BrightnessCurve.h"
#include "CurveTable.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::size_t pixelCount = std::size_t{4000} * 3000;

// A picture of smooth gradients with some noise, like a photograph's colour values.
const std::vector<std::int32_t>& picture() {
    static const std::vector<std::int32_t> pixels = [] {
        std::vector<std::int32_t> values(pixelCount);
        std::mt19937 random(7);
        for (std::size_t i = 0; i < pixelCount; ++i) {
            const auto x = static_cast<std::int32_t>(i % 4000);
            const auto y = static_cast<std::int32_t>(i / 4000);
            const auto noise = static_cast<std::int32_t>(random() % 16);
            values[i] = ((x / 16 + noise) & 0xFF) | ((y / 12 + noise) & 0xFF) << 8 |
                        (((x + y) / 28) & 0xFF) << 16;
        }
        return values;
    }();
    return pixels;
}

void perPixel(benchmark::State& state) {
    state.counters["ns_per_px"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * pixelCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MapTable(benchmark::State& state) {
    const auto& source = picture();
    std::vector<std::int32_t> result(pixelCount);
    for (auto _ : state) {
        const lumeno::CurveTable curve(2.0F); // built once per run, so timed with it
        for (std::size_t i = 0; i < pixelCount; ++i)
            result[i] = curve.map(source[i]);
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}
BENCHMARK(BM_MapTable)->Unit(benchmark::kMillisecond);

void BM_MapDirect(benchmark::State& state) {
    const auto& source = picture();
    std::vector<std::int32_t> result(pixelCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < pixelCount; ++i)
            result[i] = lumeno::mapColour(source[i], 2.0F);
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}
BENCHMARK(BM_MapDirect)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    const auto& source = picture();
    std::vector<std::int32_t> result(pixelCount);
    for (auto _ : state) {
        std::memcpy(result.data(), source.data(), pixelCount * sizeof(std::int32_t));
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    perPixel(state);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

} // namespace

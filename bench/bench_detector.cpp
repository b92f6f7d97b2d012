// AnalyseFrame on a 100 x 80 rectangle at each pixel depth.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "shots/frame_change_detector.h"

namespace {

void AnalyseAtDepth(benchmark::State& state, int bitsPerPixel, uint32_t r, uint32_t g, uint32_t b) {
    constexpr int kWidth = 100, kHeight = 80;
    const int pitch = (kWidth * bitsPerPixel / 8 + 3) & ~3;
    std::vector<uint8_t> frames[2];
    std::mt19937 random(7);
    for (auto& pixels : frames) {
        pixels.resize(static_cast<size_t>(pitch) * kHeight);
        for (auto& byte : pixels)
            byte = static_cast<uint8_t>(random());
    }
    trevanto::FrameChangeDetector detector;
    trevanto::DetectorResult result;
    int32_t frame = 0;
    for (auto _ : state) {
        const trevanto::FramePixels pixels{
            frames[frame & 1].data(), pitch, kWidth, kHeight, bitsPerPixel, r, g, b};
        detector.AnalyseFrame(pixels, 0, 0, kWidth, kHeight, frame++,
                              {trevanto::FrameRole::Normal, 15.0f}, &result);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Analyse16(benchmark::State& s) {
    AnalyseAtDepth(s, 16, 0xF800, 0x07E0, 0x001F);
}
void BM_Analyse24(benchmark::State& s) {
    AnalyseAtDepth(s, 24, 0, 0, 0);
}
void BM_Analyse32(benchmark::State& s) {
    AnalyseAtDepth(s, 32, 0xFF0000, 0xFF00, 0xFF);
}
BENCHMARK(BM_Analyse16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Analyse24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Analyse32)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

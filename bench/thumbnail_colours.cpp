// The thumbnail's colour conversion: 100 x 80 pixels of 4:4:4 planes to
// RGB32, by libswscale (its general path; what the graph did before) and
// directly (Yuv444Rgb, the same bytes), and libswscale from 4:2:0 for scale.
//   bench_thumbnail_colours
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "picture/surface_pool.h"
#include "video/ffmpeg_handles.h"
#include "video/yuv444_rgb.h"

namespace {

using namespace trevanto;

constexpr int kWidth = 100, kHeight = 80;

struct Planes {
    std::vector<uint8_t> bytes[3];
    const uint8_t* data[3] = {};
    int pitches[3] = {kWidth, kWidth, kWidth};
    explicit Planes(int chromaShift) {
        std::mt19937 random(7);
        for (int i = 0; i < 3; ++i) {
            const int shift = i == 0 ? 0 : chromaShift;
            pitches[i] = kWidth >> shift;
            bytes[i].resize(static_cast<size_t>(pitches[i]) * (kHeight >> shift));
            for (uint8_t& byte : bytes[i])
                byte = static_cast<uint8_t>(random());
            data[i] = bytes[i].data();
        }
    }
};

Surface Target() {
    return Surface(kWidth, kHeight, PixelFormat::Rgb32(), SurfacePool::ConversionPitch(kWidth));
}

void Libswscale(benchmark::State& state, AVPixelFormat format, int chromaShift) {
    const Planes planes(chromaShift);
    Surface target = Target();
    ffmpeg::ScalerPtr scaler;
    uint8_t* const out[4] = {target.Bits(), nullptr, nullptr, nullptr};
    const int outPitch[4] = {target.Pitch(), 0, 0, 0};
    for (auto _ : state) {
        // Cached as the graph caches it, once per thumbnail.
        scaler.reset(sws_getCachedContext(scaler.release(), kWidth, kHeight, format, kWidth,
                                          kHeight, AV_PIX_FMT_RGB32, SWS_AREA, nullptr, nullptr,
                                          nullptr));
        sws_scale(scaler.get(), planes.data, planes.pitches, 0, kHeight, out, outPitch);
        benchmark::DoNotOptimize(target.Bits());
    }
}

void BM_Libswscale444(benchmark::State& state) {
    Libswscale(state, AV_PIX_FMT_YUV444P, 0);
}
void BM_Libswscale420(benchmark::State& state) {
    Libswscale(state, AV_PIX_FMT_YUV420P, 1);
}
void BM_Direct444(benchmark::State& state) {
    const Planes planes(0);
    Surface target = Target();
    for (auto _ : state) {
        Yuv444Rgb::Convert(planes.data, planes.pitches, kWidth, kHeight, false, target);
        benchmark::DoNotOptimize(target.Bits());
    }
}

BENCHMARK(BM_Libswscale444);
BENCHMARK(BM_Libswscale420);
BENCHMARK(BM_Direct444);

}  // namespace

BENCHMARK_MAIN();

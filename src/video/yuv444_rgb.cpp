#include "video/yuv444_rgb.h"

#include <algorithm>

#include "video/ffmpeg_handles.h"

namespace trevanto {
namespace {

// A 16.16 coefficient rounded to the 16-bit integer libswscale keeps.
int64_t RoundToInt16(int64_t value) {
    return std::clamp<int64_t>((value + (int64_t{1} << 15)) >> 16, -0x7FFF, 0x7FFF);
}

// A channel's sum clipped to 30 bits (read as signed, as libswscale does
// when any channel overflows), then its top 8 bits.
uint32_t Channel(uint32_t sum) {
    const auto value = static_cast<int32_t>(sum);
    return value < 0 ? 0u : std::min(static_cast<uint32_t>(value) >> 22, 255u);
}

// One row. The loop is built twice, once for AVX2, whose 32-bit
// multiplications SSE2 lacks (four times as fast where the processor has
// it). The build is chosen at run time, not by an ifunc: an ifunc's
// resolver runs before a sanitizer's runtime is up and crashes it.
[[gnu::always_inline]] inline void ConvertRowLoop(const uint8_t* __restrict luma,
                                                  const uint8_t* __restrict uRow,
                                                  const uint8_t* __restrict vRow,
                                                  uint32_t* __restrict out, int width,
                                                  const Yuv444Rgb::Coefficients& k) {
    for (int x = 0; x < width; ++x) {
        // The planes reach libswscale's output stage at 15 bits (value << 7),
        // luma times 4, chroma centred on zero times 4.
        const uint32_t base = ((uint32_t{luma[x]} << 9) - k.lumaOffset) * k.luma + (1u << 21);
        const uint32_t u = (uint32_t{uRow[x]} << 9) - (128u << 9);
        const uint32_t v = (uint32_t{vRow[x]} << 9) - (128u << 9);
        out[x] = 0xFF000000u | Channel(base + v * k.redV) << 16 |
                 Channel(base + v * k.greenV + u * k.greenU) << 8 | Channel(base + u * k.blueU);
    }
}

using RowConverter = void (*)(const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, int,
                              const Yuv444Rgb::Coefficients&);

void ConvertRowPlain(const uint8_t* luma, const uint8_t* uRow, const uint8_t* vRow, uint32_t* out,
                     int width, const Yuv444Rgb::Coefficients& k) {
    ConvertRowLoop(luma, uRow, vRow, out, width, k);
}

[[gnu::target("avx2")]] void ConvertRowAvx2(const uint8_t* luma, const uint8_t* uRow,
                                            const uint8_t* vRow, uint32_t* out, int width,
                                            const Yuv444Rgb::Coefficients& k) {
    ConvertRowLoop(luma, uRow, vRow, out, width, k);
}

RowConverter ChooseRowConverter() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? ConvertRowAvx2 : ConvertRowPlain;
}

}  // namespace

Yuv444Rgb::Coefficients Yuv444Rgb::Make(bool fullRange) {
    // The default matrix, contrast and saturation 1, brightness 0: what a
    // scaler gets without sws_setColorspaceDetails.
    const int* const matrix = sws_getCoefficients(SWS_CS_DEFAULT);
    int64_t redV = matrix[0], blueU = matrix[1], greenU = -matrix[2], greenV = -matrix[3];
    int64_t luma = int64_t{1} << 16, offset = 0;
    if (fullRange) {
        for (int64_t* coefficient : {&redV, &blueU, &greenU, &greenV})
            *coefficient = *coefficient * 224 / 255;
    } else {
        luma = luma * 255 / 219;
        offset = int64_t{16} << 16;
    }
    const auto word = [](int64_t value) { return static_cast<uint32_t>(RoundToInt16(value)); };
    return {word(luma * (1 << 13)),   word(offset * (1 << 9)),  word(redV * (1 << 13)),
            word(greenV * (1 << 13)), word(greenU * (1 << 13)), word(blueU * (1 << 13))};
}

bool Yuv444Rgb::Convert(const uint8_t* const planes[3], const int pitches[3], int width, int height,
                        bool fullRange, Surface& target) {
    if (!target.IsValid() || !target.Format().IsRgb32() || target.Width() < width ||
        target.Height() < height)
        return false;
    static const Coefficients limited = Make(false);
    static const Coefficients full = Make(true);
    static const RowConverter convertRow = ChooseRowConverter();
    const Coefficients k = fullRange ? full : limited;
    for (int y = 0; y < height; ++y)
        convertRow(planes[0] + static_cast<ptrdiff_t>(y) * pitches[0],
                   planes[1] + static_cast<ptrdiff_t>(y) * pitches[1],
                   planes[2] + static_cast<ptrdiff_t>(y) * pitches[2],
                   reinterpret_cast<uint32_t*>(target.Row(y)), width, k);
    return true;
}

}  // namespace trevanto

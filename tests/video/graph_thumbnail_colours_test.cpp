// The thumbnail's direct 4:4:4 conversion against libswscale's conversion of
// the same planes (what the graph used before, and what the shot engine's
// cuts were measured on): every luma, U and V triple, in both ranges.
#include <gtest/gtest.h>

#include <vector>

#include "picture/surface_pool.h"
#include "video/ffmpeg_handles.h"
#include "video/yuv444_rgb.h"

namespace trevanto::test {
namespace {

struct Range {
    const char* name;
    AVPixelFormat format;
    bool full;
};

TEST(Yuv444RgbTest, EveryTripleGivesLibswscalesBytes) {
    // One picture per U value: luma across, V down.
    constexpr int kSide = 256;
    std::vector<uint8_t> luma(kSide * kSide), u(kSide * kSide), v(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            luma[static_cast<size_t>(y * kSide + x)] = static_cast<uint8_t>(x);
            v[static_cast<size_t>(y * kSide + x)] = static_cast<uint8_t>(y);
        }
    const uint8_t* const planes[3] = {luma.data(), u.data(), v.data()};
    const int pitches[3] = {kSide, kSide, kSide};
    const int pitch = SurfacePool::ConversionPitch(kSide);
    Surface made(kSide, kSide, PixelFormat::Rgb32(), pitch);
    Surface wanted(kSide, kSide, PixelFormat::Rgb32(), pitch);
    for (const Range& range :
         {Range{"limited", AV_PIX_FMT_YUV444P, false}, Range{"full", AV_PIX_FMT_YUVJ444P, true}}) {
        const ffmpeg::ScalerPtr scaler(sws_getContext(kSide, kSide, range.format, kSide, kSide,
                                                      AV_PIX_FMT_RGB32, SWS_AREA, nullptr, nullptr,
                                                      nullptr));
        ASSERT_TRUE(scaler) << range.name;
        long differing = 0;
        for (int value = 0; value < 256; ++value) {
            std::fill(u.begin(), u.end(), static_cast<uint8_t>(value));
            uint8_t* const target[4] = {wanted.Bits(), nullptr, nullptr, nullptr};
            const int targetPitch[4] = {pitch, 0, 0, 0};
            ASSERT_EQ(sws_scale(scaler.get(), planes, pitches, 0, kSide, target, targetPitch),
                      kSide);
            ASSERT_TRUE(Yuv444Rgb::Convert(planes, pitches, kSide, kSide, range.full, made));
            for (int y = 0; y < kSide; ++y)
                differing += !std::equal(made.Row(y), made.Row(y) + kSide * 4, wanted.Row(y));
        }
        EXPECT_EQ(differing, 0) << range.name << ": rows that differ from libswscale's";
    }
}

}  // namespace
}  // namespace trevanto::test

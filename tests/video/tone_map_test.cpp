// The tone curve of HDR pictures and its 8-bit result.
#include <gtest/gtest.h>

#include <cmath>

#include "video/tone_map.h"

namespace trevanto {
namespace {

TEST(ToneMapTest, BlackStaysBlackReferenceWhiteIsNearlyWhiteAndTheCurveRises) {
    struct Case {
        double nits;
        double low, high;  // standard range light
    };
    const Case cases[] = {
        {0.0, 0.0, 0.0},       // black stays black
        {50.0, 0.245, 0.248},  // below the knee the light is kept (50 / 203)
        {203.0, 0.72, 0.85},   // reference white: nearly white
        {1000.0, 0.999, 1.0},  // the mastering peak: white
        {10000.0, 1.0, 1.0},   // beyond it: clipped
    };
    for (const Case& c : cases) {
        const double light = ToneMapNits(c.nits, 1000.0);
        EXPECT_TRUE(light >= c.low && light <= c.high) << c.nits << " nits: " << light;
    }
    double last = -1.0;
    for (double nits = 0.0; nits <= 1000.0; nits += 0.5) {
        const double light = ToneMapNits(nits, 1000.0);
        ASSERT_GT(light, last) << nits;
        last = light;
    }
    // The signals: PQ round trips, HLG's 75 % is reference white.
    for (const double nits : {0.1, 100.0, 203.0, 4000.0})
        EXPECT_NEAR(PqToNits(NitsToPq(nits)), nits, nits * 1e-9);
    EXPECT_NEAR(HlgToNits(0.75), 203.0, 2.0);
    EXPECT_DOUBLE_EQ(HlgToNits(0.0), 0.0);
}

TEST(ToneMapTest, GreysBecomeEightBitGreys) {
    struct Case {
        Transfer transfer;
        double signal;  // 0 to 1
        int low, high;  // 8-bit grey
    };
    const Case cases[] = {
        {Transfer::Pq, 0.0, 0, 0},       {Transfer::Pq, NitsToPq(203.0), 220, 240},
        {Transfer::Pq, 1.0, 255, 255},   {Transfer::Hlg, 0.0, 0, 0},
        {Transfer::Hlg, 0.75, 220, 240}, {Transfer::Hlg, 1.0, 255, 255},
    };
    for (const Case& c : cases) {
        for (const bool wideGamut : {false, true}) {
            const ToneMapper mapper(c.transfer, wideGamut);
            const auto value = static_cast<uint16_t>(std::lround(c.signal * 65535.0));
            const uint16_t rgb[3] = {value, value, value};
            uint32_t word = 0;
            mapper.MapRow(rgb, &word, 1);
            const int red = (word >> 16) & 0xFF, green = (word >> 8) & 0xFF, blue = word & 0xFF;
            EXPECT_TRUE(red == green && green == blue) << c.signal << ": a grey stays grey";
            EXPECT_TRUE(red >= c.low && red <= c.high) << c.signal << ": " << red;
        }
    }
}

}  // namespace
}  // namespace trevanto

// The thumbnail scaler gives exactly the picture Surface::StretchFrom gives.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "video/box_scaler.h"

namespace trevanto {
namespace {

Surface RandomPicture(int width, int height, uint32_t seed) {
    Surface picture(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.SetPixelRgb(x, y, random() & 0xFFFFFF);
    }
    return picture;
}

bool SamePixels(const Surface& a, const Surface& b) {
    for (int y = 0; y < a.Height(); ++y) {
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.Width()) * 4) != 0)
            return false;
    }
    return true;
}

TEST(BoxScaler, MatchesStretchFromToTheBit) {
    const std::pair<int, int> sizes[] = {{720, 576},  {320, 240}, {640, 360}, {100, 80},
                                         {64, 48},    {1, 1},     {333, 77},  {1920, 1080},
                                         {4000, 300}, {9000, 50}};
    const Rect destinations[] = {{0, 0, 100, 80}, {-10, -5, 90, 75}, {20, 10, 130, 95}};
    BoxScaler scaler;
    uint32_t seed = 1;
    for (const auto& [width, height] : sizes) {
        const Surface source = RandomPicture(width, height, seed++);
        for (const Rect& destination : destinations) {
            Surface expected(100, 80);
            Surface actual(100, 80);
            ASSERT_TRUE(expected.StretchFrom(source, destination));
            ASSERT_TRUE(scaler.Scale(source, actual, destination));
            EXPECT_TRUE(SamePixels(expected, actual))
                << width << "x" << height << " onto " << destination.left << "," << destination.top;
        }
    }
}

TEST(BoxScaler, RefusesWhatStretchFromRefuses) {
    BoxScaler scaler;
    Surface target(100, 80);
    const Surface invalid(0, 0);
    EXPECT_FALSE(scaler.Scale(invalid, target, {0, 0, 100, 80}));
    const Surface source = RandomPicture(10, 10, 7);
    EXPECT_FALSE(scaler.Scale(source, target, {0, 0, 0, 80}));
    target.Lock();
    EXPECT_FALSE(scaler.Scale(source, target, {0, 0, 100, 80}));
    target.Unlock();
    Surface deep(100, 80, PixelFormat::Rgb565());  // other formats go through StretchFrom
    EXPECT_TRUE(scaler.Scale(source, deep, {0, 0, 100, 80}));
}

}  // namespace
}  // namespace trevanto

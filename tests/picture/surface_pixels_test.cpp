// Surfaces: pixel formats, pitch, locking and the stretch copy.
#include <gtest/gtest.h>

#include <cstring>

#include "picture/surface.h"

namespace trevanto {
namespace {

TEST(SurfacePixelsTest, TwentyFourBitPixelsRoundTripBadSurfacesAreInvalidAndLocksExclude) {
    Surface rgb24(3, 1, PixelFormat::Rgb24());
    EXPECT_EQ(rgb24.Pitch(), 12) << "rows are aligned to 4 bytes";
    rgb24.SetPixelRgb(2, 0, 0xFE0102);
    EXPECT_EQ(rgb24.PixelRgb(2, 0), 0xFE0102u);
    EXPECT_EQ(rgb24.Row(0)[3 * 2 + 0], 0x02) << "blue, green, red in memory";
    EXPECT_EQ(rgb24.AsImage().pixel(2, 0), 0xFFFE0102u);     // a converted copy
    EXPECT_EQ(Surface(3, 1).AsImage().size(), QSize(3, 1));  // the pixels themselves
    EXPECT_TRUE(Surface(0, 10).AsImage().isNull() && Surface(0, 10).ToImage().isNull());
    EXPECT_FALSE(rgb24.CopyFromImage(QImage(2, 2, QImage::Format_RGB32)));  // another size
    // Every row and column of a picture is copied, the first ones included.
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, qRgb(10 * x, 100 + y, 7));
    Surface copy(3, 2, PixelFormat::Rgb24());
    ASSERT_TRUE(copy.CopyFromImage(picture));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(copy.PixelRgb(x, y), picture.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
    EXPECT_FALSE(Surface(0, 10).IsValid());
    EXPECT_FALSE(Surface(10, -1).IsValid());
    EXPECT_FALSE(Surface(4, 4, PixelFormat{8, 0xE0, 0x1C, 0x03}).IsValid());
    EXPECT_EQ(Surface(5, 1, PixelFormat::Rgb32(), 64).Pitch(), 64);
    // One lock at a time, and no copy while locked.
    Surface surface(8, 8);
    const LockedPixels first = surface.Lock();
    ASSERT_NE(first.bits, nullptr);
    EXPECT_EQ(surface.Lock().bits, nullptr) << "a second lock fails";
    Surface other(4, 4);
    EXPECT_FALSE(other.StretchFrom(surface, Rect{0, 0, 4, 4})) << "a locked source";
    EXPECT_FALSE(surface.StretchFrom(other, Rect{0, 0, 4, 4})) << "a locked target";
    surface.Unlock();
    EXPECT_FALSE(surface.IsLocked());
    EXPECT_EQ(Surface(0, 0).Lock().bits, nullptr);
}

TEST(SurfaceStretchTest, ShrinkingAveragesEnlargingKeepsEdgesAndTheTargetIsClipped) {
    // A one-pixel checkerboard turns even grey, in 32, 24 and 16 bits.
    Surface checkers(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            checkers.SetPixelRgb(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    for (const PixelFormat& format :
         {PixelFormat::Rgb32(), PixelFormat::Rgb24(), PixelFormat::Rgb565()}) {
        Surface small(100, 80, format);
        ASSERT_TRUE(small.StretchFrom(checkers, Rect{0, 0, 100, 80}));
        for (const auto& [x, y] : {std::pair{0, 0}, {50, 40}, {99, 79}})
            EXPECT_NEAR(static_cast<int>(small.PixelRgb(x, y) & 0xFF), 127, 30);
    }
    // Enlarging keeps flat areas and edges in place.
    Surface edge(10, 10);
    edge.Fill(0x204060);
    for (int y = 0; y < 10; ++y)
        edge.SetPixelRgb(9, y, 0xFFFFFF);
    Surface large(40, 40);
    ASSERT_TRUE(large.StretchFrom(edge, Rect{0, 0, 40, 40}));
    EXPECT_EQ(large.PixelRgb(30, 39), 0x204060u);
    EXPECT_EQ(large.PixelRgb(39, 20), 0xFFFFFFu);
    Surface target(10, 10);
    target.Fill(0x0000FF);
    ASSERT_TRUE(target.StretchFrom(large, Rect{5, 5, 25, 25}));
    EXPECT_EQ(target.PixelRgb(4, 4), 0x0000FFu) << "outside the rectangle";
    EXPECT_EQ(target.PixelRgb(9, 9), 0x204060u);
    EXPECT_FALSE(target.StretchFrom(large, Rect{3, 3, 3, 8}));
    EXPECT_TRUE(target.StretchFrom(large, Rect{20, 20, 30, 30})) << "wholly outside: nothing";
    EXPECT_FALSE(target.StretchFrom(Surface(0, 0), Rect{0, 0, 5, 5}));
}

}  // namespace
}  // namespace trevanto

// Surfaces: pixel formats, pitch, locking, the stretch copy and QImage access.
#include <gtest/gtest.h>

#include <cstring>

#include "video/surface.h"

namespace trevanto {
namespace {

TEST(SurfacePixelsTest, PixelsRoundTripInEveryFormatAndBadSurfacesAreInvalid) {
    Surface rgb24(3, 1, PixelFormat::Rgb24());
    EXPECT_EQ(rgb24.Pitch(), 12) << "rows are aligned to 4 bytes";
    for (const uint32_t colour : {0x000000u, 0xFFFFFFu, 0x123456u, 0xFE0102u}) {
        rgb24.SetPixelRgb(2, 0, colour);
        EXPECT_EQ(rgb24.PixelRgb(2, 0), colour);
    }
    EXPECT_EQ(rgb24.Row(0)[3 * 2 + 0], 0x02) << "blue, green, red in memory";
    // Sixteen bits: black and white exact, others within 5 or 6 bits and
    // stable on a second trip.
    for (const PixelFormat& format : {PixelFormat::Rgb565(), PixelFormat::Rgb555()}) {
        Surface surface(2, 1, format);
        surface.SetPixelRgb(0, 0, 0xFFFFFF);
        EXPECT_EQ(surface.PixelRgb(0, 0), 0xFFFFFFu);
        surface.SetPixelRgb(1, 0, 0x8040C0);
        const uint32_t once = surface.PixelRgb(1, 0);
        for (const int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>((once >> shift) & 0xFF), (0x8040C0 >> shift) & 0xFF, 8);
        surface.SetPixelRgb(0, 0, once);
        EXPECT_EQ(surface.PixelRgb(0, 0), once);
    }
    Surface rgb565(1, 1, PixelFormat::Rgb565());
    rgb565.SetPixelRgb(0, 0, 0xFF0000);
    uint16_t word = 0;
    std::memcpy(&word, rgb565.Bits(), 2);
    EXPECT_EQ(word, 0xF800);
    EXPECT_FALSE(Surface(0, 10).IsValid());
    EXPECT_FALSE(Surface(10, -1).IsValid());
    EXPECT_FALSE(Surface(4, 4, PixelFormat{8, 0xE0, 0x1C, 0x03}).IsValid());
    EXPECT_EQ(Surface(5, 1, PixelFormat::Rgb32(), 64).Pitch(), 64);
}

TEST(SurfaceLockTest, OneLockAtATimeAndNoCopyWhileLocked) {
    Surface surface(8, 8);
    const LockedPixels first = surface.Lock();
    ASSERT_NE(first.bits, nullptr);
    EXPECT_EQ(first.pitch, surface.Pitch());
    EXPECT_EQ(surface.Lock().bits, nullptr) << "a second lock fails";
    Surface other(4, 4);
    EXPECT_FALSE(other.StretchFrom(surface, Rect{0, 0, 4, 4})) << "a locked source";
    EXPECT_FALSE(surface.StretchFrom(other, Rect{0, 0, 4, 4})) << "a locked target";
    surface.Unlock();
    EXPECT_FALSE(surface.IsLocked());
    EXPECT_EQ(Surface(0, 0).Lock().bits, nullptr);
}

TEST(SurfaceStretchTest, ShrinkingAveragesEnlargingKeepsEdgesAndTheTargetIsClipped) {
    // 2 x 2 blocks halve exactly; a one-pixel checkerboard turns even grey,
    // in 32, 24 and 16 bits.
    Surface blocks(200, 160), checkers(320, 240);
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            if (x < 200 && y < 160)
                blocks.SetPixelRgb(x, y, colours[((x / 2) + (y / 2) * 3) % 4]);
            checkers.SetPixelRgb(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
        }
    Surface half(100, 80);
    ASSERT_TRUE(half.StretchFrom(blocks, Rect{0, 0, 100, 80}));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(half.PixelRgb(x, y), blocks.PixelRgb(2 * x, 2 * y)) << x << "," << y;
    for (const PixelFormat& format :
         {PixelFormat::Rgb32(), PixelFormat::Rgb24(), PixelFormat::Rgb565()}) {
        Surface small(100, 80, format);
        ASSERT_TRUE(small.StretchFrom(checkers, Rect{0, 0, 100, 80}));
        for (const auto& [x, y] : {std::pair{0, 0}, {50, 40}, {99, 79}})
            EXPECT_NEAR(static_cast<int>(small.PixelRgb(x, y) & 0xFF), 127, 30);
    }
    Surface edge(10, 10);
    edge.Fill(0x204060);
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            edge.SetPixelRgb(x, y, 0xFFFFFF);
    Surface large(40, 40);
    ASSERT_TRUE(large.StretchFrom(edge, Rect{0, 0, 40, 40}));
    EXPECT_EQ(large.PixelRgb(2, 20), 0x204060u);
    EXPECT_EQ(large.PixelRgb(37, 20), 0xFFFFFFu);
    EXPECT_EQ(large.PixelRgb(10, 39), 0x204060u);

    Surface target(10, 10);
    target.Fill(0x0000FF);
    ASSERT_TRUE(target.StretchFrom(large, Rect{5, 5, 25, 25}));
    EXPECT_EQ(target.PixelRgb(4, 4), 0x0000FFu) << "outside the rectangle";
    EXPECT_EQ(target.PixelRgb(9, 9), 0x204060u);
    EXPECT_FALSE(target.StretchFrom(large, Rect{3, 3, 3, 8}));
    EXPECT_TRUE(target.StretchFrom(large, Rect{20, 20, 30, 30})) << "wholly outside: nothing";
    EXPECT_FALSE(target.StretchFrom(Surface(0, 0), Rect{0, 0, 5, 5}));
}

TEST(SurfaceImageTest, PaintingAndCopiesMeetThePixels) {
    Surface surface(16, 8);
    QImage image = surface.AsImage();
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    image.setPixel(3, 2, qRgb(10, 20, 30));
    EXPECT_EQ(surface.PixelRgb(3, 2), 0x0A141Eu) << "the image shares the pixels";
    Surface sixteen(16, 8, PixelFormat::Rgb565());
    ASSERT_TRUE(sixteen.CopyFromImage(surface.ToImage()));
    EXPECT_EQ(sixteen.PixelRgb(3, 2), 0x081418u);
    EXPECT_FALSE(sixteen.CopyFromImage(QImage(4, 4, QImage::Format_RGB32)));
}

}  // namespace
}  // namespace trevanto

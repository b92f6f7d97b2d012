// Surfaces: pixel formats, pitch, locking and the stretch copy.
#include <gtest/gtest.h>

#include <cstring>

#include "video/surface.h"

namespace trevanto {
namespace {

TEST(SurfacePixelsTest, TwentyFourBitPixelsRoundTripExactly) {
    Surface surface(3, 2, PixelFormat::Rgb24());
    ASSERT_TRUE(surface.IsValid());
    EXPECT_EQ(surface.Pitch(), 12) << "rows are aligned to 4 bytes";
    const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x123456, 0xFE0102, 0x01FE80, 0x7F7F7F};
    int i = 0;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            surface.SetPixelRgb(x, y, colours[i++]);
    i = 0;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surface.PixelRgb(x, y), colours[i++]);
    // Byte order in memory: blue, green, red.
    EXPECT_EQ(surface.Row(0)[3 * 2 + 0], 0x56);
    EXPECT_EQ(surface.Row(0)[3 * 2 + 2], 0x12);
}

TEST(SurfacePixelsTest, SixteenBitPixelsKeepTheirTopBitsAndExpandFully) {
    for (const PixelFormat& format : {PixelFormat::Rgb565(), PixelFormat::Rgb555()}) {
        Surface surface(4, 1, format);
        ASSERT_TRUE(surface.IsValid());
        surface.SetPixelRgb(0, 0, 0xFFFFFF);
        EXPECT_EQ(surface.PixelRgb(0, 0), 0xFFFFFFu) << "white stays white";
        surface.SetPixelRgb(1, 0, 0x000000);
        EXPECT_EQ(surface.PixelRgb(1, 0), 0u);
        surface.SetPixelRgb(2, 0, 0x8040C0);
        const uint32_t once = surface.PixelRgb(2, 0);
        // Within the precision of 5 or 6 bits, and stable on a second trip.
        EXPECT_NEAR(static_cast<int>(once >> 16), 0x80, 8);
        EXPECT_NEAR(static_cast<int>((once >> 8) & 0xFF), 0x40, 8);
        EXPECT_NEAR(static_cast<int>(once & 0xFF), 0xC0, 8);
        surface.SetPixelRgb(3, 0, once);
        EXPECT_EQ(surface.PixelRgb(3, 0), once);
    }
    Surface rgb565(1, 1, PixelFormat::Rgb565());
    rgb565.SetPixelRgb(0, 0, 0xFF0000);
    uint16_t word = 0;
    std::memcpy(&word, rgb565.Bits(), 2);
    EXPECT_EQ(word, 0xF800);
}

TEST(SurfacePixelsTest, SizesAndDepthsThatCannotBeMadeGiveInvalidSurfaces) {
    EXPECT_FALSE(Surface(0, 10).IsValid());
    EXPECT_FALSE(Surface(10, -1).IsValid());
    EXPECT_FALSE(Surface(4, 4, PixelFormat{8, 0xE0, 0x1C, 0x03}).IsValid());
    EXPECT_EQ(Surface(5, 1, PixelFormat::Rgb32(), 64).Pitch(), 64);
}

TEST(SurfaceLockTest, OneLockAtATime) {
    Surface surface(8, 8);
    LockedPixels first = surface.Lock();
    ASSERT_NE(first.bits, nullptr);
    EXPECT_EQ(first.pitch, surface.Pitch());
    EXPECT_EQ(first.width, 8);
    EXPECT_TRUE(first.format.IsRgb32());
    EXPECT_TRUE(surface.IsLocked());
    EXPECT_EQ(surface.Lock().bits, nullptr) << "a second lock fails";
    Surface other(4, 4);
    EXPECT_FALSE(other.StretchFrom(surface, Rect{0, 0, 4, 4})) << "a locked source";
    EXPECT_FALSE(surface.StretchFrom(other, Rect{0, 0, 4, 4})) << "a locked target";
    surface.Unlock();
    EXPECT_FALSE(surface.IsLocked());
    EXPECT_NE(surface.Lock().bits, nullptr);
    surface.Unlock();
    Surface invalid(0, 0);
    EXPECT_EQ(invalid.Lock().bits, nullptr);
}

// 2 x 2 blocks of one colour each, in a pattern of four colours.
Surface BlockPattern(int width, int height) {
    Surface surface(width, height);
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.SetPixelRgb(x, y, colours[((x / 2) + (y / 2) * 3) % 4]);
    return surface;
}

TEST(SurfaceStretchTest, HalvingAveragesEachBlockExactly) {
    const Surface source = BlockPattern(200, 160);
    Surface thumbnail(100, 80);
    ASSERT_TRUE(thumbnail.StretchFrom(source, Rect{0, 0, 100, 80}));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(thumbnail.PixelRgb(x, y), source.PixelRgb(2 * x, 2 * y)) << x << "," << y;
}

TEST(SurfaceStretchTest, ShrinkingAveragesTheArea) {
    // A one-pixel black and white checkerboard turns into even grey.
    Surface source(320, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            source.SetPixelRgb(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
    Surface thumbnail(100, 80);
    ASSERT_TRUE(thumbnail.StretchFrom(source, Rect{0, 0, 100, 80}));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            const int grey = static_cast<int>(thumbnail.PixelRgb(x, y) & 0xFF);
            ASSERT_NEAR(grey, 127, 26) << x << "," << y;
        }
    // The same in 16 and 24 bits.
    for (const PixelFormat& format : {PixelFormat::Rgb24(), PixelFormat::Rgb565()}) {
        Surface small(100, 80, format);
        ASSERT_TRUE(small.StretchFrom(source, Rect{0, 0, 100, 80}));
        EXPECT_NEAR(static_cast<int>(small.PixelRgb(50, 40) & 0xFF), 127, 30);
    }
}

TEST(SurfaceStretchTest, EnlargingKeepsFlatAreasAndEdgesInPlace) {
    Surface source(10, 10);
    source.Fill(0x204060);
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            source.SetPixelRgb(x, y, 0xFFFFFF);
    Surface large(40, 40);
    ASSERT_TRUE(large.StretchFrom(source, Rect{0, 0, 40, 40}));
    EXPECT_EQ(large.PixelRgb(2, 20), 0x204060u);
    EXPECT_EQ(large.PixelRgb(37, 20), 0xFFFFFFu);
    EXPECT_EQ(large.PixelRgb(10, 39), 0x204060u);
}

TEST(SurfaceStretchTest, TheDestinationIsClippedAndEmptyRectanglesFail) {
    Surface source(20, 20);
    source.Fill(0xFF0000);
    Surface target(10, 10);
    target.Fill(0x0000FF);
    ASSERT_TRUE(target.StretchFrom(source, Rect{5, 5, 25, 25}));
    EXPECT_EQ(target.PixelRgb(4, 4), 0x0000FFu) << "outside the rectangle";
    EXPECT_EQ(target.PixelRgb(9, 9), 0xFF0000u);
    EXPECT_FALSE(target.StretchFrom(source, Rect{3, 3, 3, 8}));
    EXPECT_TRUE(target.StretchFrom(source, Rect{20, 20, 30, 30})) << "wholly outside: nothing";
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
    EXPECT_EQ(sixteen.PixelRgb(0, 0), 0u);
    EXPECT_FALSE(sixteen.CopyFromImage(QImage(4, 4, QImage::Format_RGB32)));
}

}  // namespace
}  // namespace trevanto

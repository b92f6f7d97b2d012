// The frame code strip: every number reads back, damage reads as -1.
#include <gtest/gtest.h>

#include "support/frame_code.h"

namespace trevanto::test {
namespace {

TEST(FrameCodeTest, EveryNumberReadsBackAtEverySize) {
    for (const auto& [width, height] : {std::pair{320, 240}, {720, 576}, {640, 360}}) {
        Surface picture(width, height);
        picture.Fill(0x808080);
        // Every bit in both states, both ends included.
        for (int frame = 0; frame <= kFrameCodeMaxFrame; frame += frame < 64 ? 1 : 61) {
            DrawFrameCode(picture, frame);
            ASSERT_EQ(ReadFrameCode(picture), frame) << width << " x " << height;
        }
        DrawFrameCode(picture, kFrameCodeMaxFrame);
        EXPECT_EQ(ReadFrameCode(picture), kFrameCodeMaxFrame);
    }
}

TEST(FrameCodeTest, PicturesWithoutAStripOrWithADamagedOneReadAsMinusOne) {
    Surface picture(320, 240);
    picture.Fill(0x808080);
    EXPECT_EQ(ReadFrameCode(picture), -1);
    EXPECT_EQ(ReadFrameCode(Surface(0, 0)), -1);
    EXPECT_EQ(ReadFrameCode(Surface(20, 10)), -1);

    DrawFrameCode(picture, 1234);
    // Swap one pair of blocks: the bit flips and the check value disagrees.
    const int top = picture.Height() - FrameCodeHeight(picture.Height());
    Surface damaged = picture;
    for (int y = top; y < picture.Height(); ++y)
        for (int x = 0; x < 20; ++x)
            damaged.SetPixelRgb(x, y, picture.PixelRgb(x < 10 ? x + 10 : x - 10, y));
    EXPECT_EQ(ReadFrameCode(damaged), -1);
    // A strip washed out to grey.
    for (int y = top; y < picture.Height(); ++y)
        for (int x = 0; x < 40; ++x)
            damaged.SetPixelRgb(x, y, 0x808080);
    EXPECT_EQ(ReadFrameCode(damaged), -1);
}

}  // namespace
}  // namespace trevanto::test

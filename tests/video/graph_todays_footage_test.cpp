// Today's footage: the HDR clip's tone mapping through the real graph, and the
// turns and mirrorings of display matrices. (The clip test runs every check of
// a clip on the rotated and the 10-bit HDR10 clip too: its frame codes read
// only upright, and each thumbnail matches its frame.)
#include <gtest/gtest.h>

#include <cmath>

extern "C" {
#include <libavutil/display.h>
}

#include "graph_driver.h"
#include "video/orientation.h"
#include "video/tone_map.h"

namespace trevanto::test {
namespace {

// The 10-bit clip's first scene is mid grey as a PQ signal (about 95 nits):
// shown through the tone curve, not as the signal's own level.
TEST(GraphTodaysFootageTest, TheHdrClipIsToneMapped) {
    OpenError error;
    const auto graph = OpenUnpaced(MediaPath(TenBitClip()), error);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(TenBitClip()));
    ASSERT_TRUE(graph->Run());
    GraphEvent event;
    ASSERT_TRUE(WaitEvent(*graph, event) && event.frame);
    const double light = ToneMapNits(PqToNits(128.0 / 255.0), 1000.0);
    const double expected = 255.0 * std::pow(light, 1.0 / 2.4);
    // The mean of the middle, over the scene's faint noise.
    const Surface& frame = *event.frame;
    double sums[3] = {};
    for (int y = frame.Height() / 2 - 32; y < frame.Height() / 2 + 32; ++y)
        for (int x = frame.Width() / 2 - 32; x < frame.Width() / 2 + 32; ++x)
            for (int i = 0; i < 3; ++i)
                sums[i] += (frame.PixelRgb(x, y) >> (16 - 8 * i)) & 0xFF;
    for (const double sum : sums)
        EXPECT_NEAR(sum / (64 * 64), expected, 3.0);
}

// The eight orientations a display matrix can give (x' = a x + c y,
// y' = b x + d y in picture coordinates), on a 3 x 2 picture whose pixels
// are numbered 1 to 6 row by row.
TEST(OrientationTest, DisplayMatricesTurnAndMirrorThePicture) {
    struct Case {
        int a, b, c, d;
        std::vector<uint32_t> upright;  // row by row
    };
    const Case cases[] = {
        {1, 0, 0, 1, {1, 2, 3, 4, 5, 6}},
        {0, 1, -1, 0, {4, 1, 5, 2, 6, 3}},  // a phone's portrait video: a quarter clockwise
        {0, -1, 1, 0, {3, 6, 2, 5, 1, 4}},
        {-1, 0, 0, -1, {6, 5, 4, 3, 2, 1}},
        {-1, 0, 0, 1, {3, 2, 1, 6, 5, 4}},
        {1, 0, 0, -1, {4, 5, 6, 1, 2, 3}},
        {0, 1, 1, 0, {1, 4, 2, 5, 3, 6}},
        {0, -1, -1, 0, {6, 3, 5, 2, 4, 1}},
    };
    Surface stored(3, 2);
    for (int i = 0; i < 6; ++i)
        stored.SetPixelRgb(i % 3, i / 3, i + 1);
    const auto turned = [&](const int32_t* matrix) {
        const Orientation orientation = OrientationFromMatrix(matrix);
        Surface upright(orientation.UprightWidth(3, 2), orientation.UprightHeight(3, 2));
        std::vector<uint32_t> pixels;
        if (Reorient(stored, orientation, upright))
            for (int y = 0; y < upright.Height(); ++y)
                for (int x = 0; x < upright.Width(); ++x)
                    pixels.push_back(upright.PixelRgb(x, y));
        return pixels;
    };
    for (const Case& c : cases) {
        const int32_t matrix[9] = {c.a << 16, c.b << 16, 0, c.c << 16, c.d << 16, 0, 0, 0, 1 << 30};
        EXPECT_EQ(turned(matrix), c.upright) << c.a << c.b << c.c << c.d;
    }
    // An angle between quarter turns goes to the nearest one (FFmpeg's
    // setter turns clockwise).
    int32_t matrix[9];
    av_display_rotation_set(matrix, 88.5);
    EXPECT_EQ(turned(matrix), cases[1].upright);
    EXPECT_TRUE(OrientationFromMatrix(nullptr).IsUpright());
}

}  // namespace
}  // namespace trevanto::test

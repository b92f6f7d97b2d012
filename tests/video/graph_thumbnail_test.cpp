// Thumbnails made by the graph from the decoded picture: only when asked,
// with every repaint event (seeks included), and close to the box-averaged
// RGB32 frame the document would otherwise shrink itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

struct Difference {
    double mean = 0.0;  // per channel
    int largest = 0;
};

Difference Compare(const Surface& a, const Surface& b) {
    Difference difference;
    long sum = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int d = std::abs(static_cast<int>((a.PixelRgb(x, y) >> shift) & 0xFF) -
                                       static_cast<int>((b.PixelRgb(x, y) >> shift) & 0xFF));
                sum += d;
                difference.largest = std::max(difference.largest, d);
            }
        }
    }
    difference.mean = static_cast<double>(sum) / (a.Width() * a.Height() * 3);
    return difference;
}

// The frame's pixel at the middle of each thumbnail pixel's area: what a
// thumbnail that does not average looks like.
Surface PointSampled(const Surface& frame, int width, int height) {
    Surface sampled(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            sampled.SetPixelRgb(x, y,
                                frame.PixelRgb((2 * x + 1) * frame.Width() / (2 * width),
                                               (2 * y + 1) * frame.Height() / (2 * height)));
    return sampled;
}

class GraphThumbnailTest : public UnpacedClipGraphTest {};

TEST_P(GraphThumbnailTest, EveryFrameCarriesAnAreaAveragedThumbnailWhenAsked) {
    graph_->SetThumbnailSize(100, 80);
    ASSERT_TRUE(graph_->Run());
    Surface expected(100, 80);
    double largestMean = 0.0;
    double sampledMean = 0.0;  // summed over the frames, then their mean
    double ownMean = 0.0;
    int frames = 0;
    GraphEvent event;
    while (WaitEvent(*graph_, event)) {
        if (event.code != GraphEventCode::Repaint)
            break;
        ASSERT_TRUE(event.frame);
        ASSERT_TRUE(event.thumbnail) << "frame " << frames;
        ASSERT_EQ(event.thumbnail->Width(), 100);
        ASSERT_EQ(event.thumbnail->Height(), 80);
        ASSERT_TRUE(event.thumbnail->Format().IsRgb32());
        ASSERT_TRUE(expected.StretchFrom(*event.frame, Rect{0, 0, 100, 80}));
        const double mean = Compare(*event.thumbnail, expected).mean;
        largestMean = std::max(largestMean, mean);
        ownMean += mean;
        sampledMean += Compare(PointSampled(*event.frame, 100, 80), expected).mean;
        ++frames;
    }
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_EQ(frames, GetParam().frameCount);
    ASSERT_GT(frames, 0);
    ownMean /= frames;
    sampledMean /= frames;
    // StretchFrom's boxes are whole pixels (8 x 8 of 720 x 576, where the
    // area is 7.2 x 7.2) and the graph averages the chroma at its own
    // resolution, so the pictures differ by a few levels; one that does not
    // average at all differs far more on the test scenes' fine textures.
    EXPECT_LT(largestMean, 12.0);
    EXPECT_LT(ownMean, sampledMean * 0.6);
    std::printf(
        "%s: mean difference from the box-averaged frame %.2f (largest %.2f), of a "
        "point-sampled thumbnail %.2f\n",
        GetParam().file.c_str(), ownMean, largestMean, sampledMean);
}

TEST_P(GraphThumbnailTest, NoThumbnailUnlessAskedAndNoneOnceTurnedOff) {
    ASSERT_TRUE(graph_->Run());
    GraphEvent event;
    ASSERT_TRUE(WaitEvent(*graph_, event));
    ASSERT_EQ(event.code, GraphEventCode::Repaint);
    EXPECT_FALSE(event.thumbnail);

    graph_->SetThumbnailSize(64, 48);
    ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, 20)));
    ASSERT_TRUE(WaitEvent(*graph_, event));
    ASSERT_EQ(event.code, GraphEventCode::Repaint);
    EXPECT_EQ(ReadFrameCode(*event.frame), 20);
    ASSERT_TRUE(event.thumbnail) << "a sought frame carries one too";
    EXPECT_EQ(event.thumbnail->Width(), 64);
    EXPECT_EQ(event.thumbnail->Height(), 48);

    graph_->SetThumbnailSize(0, 0);
    ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, 30)));
    ASSERT_TRUE(WaitEvent(*graph_, event));
    ASSERT_EQ(event.code, GraphEventCode::Repaint);
    EXPECT_EQ(ReadFrameCode(*event.frame), 30);
    EXPECT_FALSE(event.thumbnail);
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphThumbnailTest, ::testing::ValuesIn(TestClips()),
                         ClipTestName());

}  // namespace
}  // namespace trevanto::test

// Every generated clip through the real graph, one decoding run each: its
// facts, an unpaced play of every frame with its thumbnail, exact seeks when
// stopped, paused and running, pausing, and the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "graph_driver.h"
#include "picture/surface_pool.h"
#include "video/plane_shrinker.h"

namespace trevanto::test {
namespace {

// Mean per-channel difference of two pictures of one size.
double MeanDifference(const Surface& a, const Surface& b) {
    long sum = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            for (int shift = 0; shift < 24; shift += 8)
                sum += std::abs(static_cast<int>((a.PixelRgb(x, y) >> shift) & 0xFF) -
                                static_cast<int>((b.PixelRgb(x, y) >> shift) & 0xFF));
    return static_cast<double>(sum) / (b.Width() * b.Height() * 3);
}

class GraphClipTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(GraphClipTest, PlaysSeeksAndShrinksEveryFrameExactly) {
    const TestClip& clip = GetParam();
    SCOPED_TRACE(clip.file);
    const int count = clip.frameCount, last = count - 1;
    OpenError error;
    const auto graph = OpenUnpaced(MediaPath(clip), error);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(clip));
    int width = 0, height = 0;
    EXPECT_TRUE(graph->VideoSize(width, height));
    EXPECT_EQ(std::pair(width, height), std::pair(clip.width, clip.height));
    EXPECT_NEAR(graph->AvgTimePerFrame(), 1.0 / clip.framesPerSecond, 1e-9);
    EXPECT_EQ(FrameAt(*graph, graph->DurationSeconds()), count);
    EXPECT_TRUE(StaysQuiet(*graph, 50ms)) << "a stopped graph delivers nothing";

    // Unpaced play: every frame once, in order, with a 100 x 80 thumbnail a few
    // levels off the box-averaged frame (whole-pixel boxes, chroma averaged apart).
    graph->SetThumbnailSize(100, 80);
    ASSERT_TRUE(graph->Run());
    Surface expected(100, 80);
    int next = 0;
    GraphEvent event;
    while (WaitEvent(*graph, event) && event.code == GraphEventCode::Repaint) {
        ASSERT_TRUE(event.frame && event.thumbnail) << next;
        ASSERT_TRUE(event.frame->Width() == width && event.frame->Format().IsRgb32());
        ASSERT_EQ(ReadFrameCode(*event.frame), next);
        double position = -1.0;
        graph->GetCurrentPosition(position);
        EXPECT_EQ(FrameAt(*graph, position), next);
        EXPECT_EQ(FrameAt(*graph, event.frameSeconds), next);
        ASSERT_TRUE(expected.StretchFrom(*event.frame, Rect{0, 0, 100, 80}));
        EXPECT_LT(MeanDifference(*event.thumbnail, expected), 12.0) << next;
        ++next;
    }
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_EQ(next, count);
    EXPECT_TRUE(StaysQuiet(*graph)) << "the end is reported once";

    // Paused: exactly the sought frame, back and forth, mid-GOP and on key frames.
    ASSERT_TRUE(graph->Pause());
    std::vector<int> targets = {137, 5,  190, 63, 64, 0,   199, 100, 13, 88,  41,
                                170, 12, 150, 99, 31, 160, 77,  120, 1,  149, 2};
    std::erase_if(targets, [&](int frame) { return frame >= count; });
    for (const int target : targets) {
        ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, target)));
        ASSERT_TRUE(WaitEvent(*graph, event));
        ASSERT_TRUE(event.frame && event.thumbnail) << "a sought frame carries one too";
        ASSERT_EQ(ReadFrameCode(*event.frame), target);
    }
    graph->SetThumbnailSize(0, 0);
    ASSERT_TRUE(graph->PutCurrentPosition(50.5 * graph->AvgTimePerFrame()));
    ASSERT_TRUE(WaitEvent(*graph, event));
    EXPECT_EQ(ReadFrameCode(*event.frame), 51);
    EXPECT_FALSE(event.thumbnail) << "none once turned off";
    for (const int target : {10, 150, 30, 77})
        graph->PutCurrentPosition(SecondsOf(*graph, target));
    EXPECT_EQ(NextFrameCode(*graph), 77);
    ASSERT_TRUE(graph->PutCurrentPosition(graph->DurationSeconds()));
    EXPECT_EQ(NextFrameCode(*graph), last);
    EXPECT_FALSE(graph->PutCurrentPosition(-1.0));
    EXPECT_TRUE(StaysQuiet(*graph));

    // Running: on from the sought frame, to the end, from a rewind; pausing halts.
    ASSERT_TRUE(graph->Run());
    for (const int target : {targets[0], targets[1], targets[3]}) {  // forward, back, forward
        ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, target)));
        for (int frame = target; frame < target + 3; ++frame)
            ASSERT_EQ(NextFrameCode(*graph), frame);
    }
    ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, last - 1)));
    EXPECT_EQ(NextFrameCode(*graph), last - 1);
    EXPECT_EQ(NextFrameCode(*graph), last);
    EXPECT_EQ(NextFrameCode(*graph), -2) << "the end";
    EXPECT_TRUE(StaysQuiet(*graph));
    ASSERT_TRUE(graph->PutCurrentPosition(0.0));
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(NextFrameCode(*graph), i);
    graph->Pause();
    next = 10;  // at most the frame queued before the pause still waits
    while (WaitEvent(*graph, event, 100ms))
        ASSERT_EQ(ReadFrameCode(*event.frame), next++);
    EXPECT_LE(next, 11);
    graph->Run();
    for (int i = next; i < next + 5; ++i)
        ASSERT_EQ(NextFrameCode(*graph), i);
    // Thumbnails alone (decoded at half size where the clip allows), then
    // whole frames again: every frame once, in order, whole ones at full size.
    graph->SetThumbnailSize(100, 80);
    graph->SetPlaybackFrames(false);
    int wholeFrames = 0;
    for (int i = next + 5; i < next + 17; ++i) {
        if (i == next + 9)
            graph->SetPlaybackFrames(true);
        ASSERT_TRUE(WaitEvent(*graph, event));
        ASSERT_EQ(FrameAt(*graph, event.frameSeconds), i);
        if (event.frame) {
            ASSERT_TRUE(event.frame->Width() == width && ReadFrameCode(*event.frame) == i) << i;
            ++wholeFrames;
        }
    }
    EXPECT_GE(wholeFrames, 6);

    // Stopped, a seek still shows its frame, and only that.
    graph->Stop();
    ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, count / 2 + 3)));
    EXPECT_EQ(NextFrameCode(*graph), count / 2 + 3);
    EXPECT_TRUE(StaysQuiet(*graph));
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphClipTest, ::testing::ValuesIn(TestClips()));
// Numbered by picture although the rate changes from 30 to 20 a second.
INSTANTIATE_TEST_SUITE_P(VariableRate, GraphClipTest, ::testing::Values(VariableRateClip()));
// Today's footage: a phone's rotated MP4 (sizes and frames upright), 10-bit
// HDR10 HEVC (frame codes read after the tone mapping).
INSTANTIATE_TEST_SUITE_P(TodaysFootage, GraphClipTest,
                         ::testing::Values(RotatedClip(), TenBitClip()));

// Paced: late frames may be dropped, never reordered; while the owner asks
// for every frame, even a late owner gets them all. Destroying a running
// graph does not hang, and the frames it delivered outlive it.
TEST(GraphPacedTest, PlaysInOrderAtTheRateAndEveryFrameWhenAsked) {
    for (const TestClip& clip : TestClips()) {
        OpenError error;
        auto graph = OpenMediaGraph({MediaPath(clip)}, error);
        ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(clip));
        EXPECT_TRUE(graph->SetRate(4.0));
        const bool every = &clip == &TestClips().front();
        graph->SetDeliverEveryFrame(every);
        graph->Run();
        GraphEvent event;
        for (int i = 0, last = -1; i < (every ? 60 : 10); ++i) {
            ASSERT_TRUE(WaitEvent(*graph, event, 5s));
            const int code = ReadFrameCode(*event.frame);
            EXPECT_TRUE(every ? code == i : code > last) << clip.file << " " << code;
            last = code;
            if (every && i % 10 == 9)  // the owner is four frames late
                std::this_thread::sleep_for(
                    std::chrono::duration<double>(1.0 / clip.framesPerSecond));
        }
        graph.reset();
        EXPECT_GE(ReadFrameCode(*event.frame), 9);
    }
}

// The streaming thread's surfaces come back when their last holder lets go.
// (Holders outliving the pool: the paced test's last frame.)
TEST(SurfacePoolTest, ASurfaceComesBackWhenEveryHolderLetGo) {
    SurfacePool pool(32, 16);
    std::shared_ptr<Surface> first = pool.Acquire();
    ASSERT_TRUE(first && first->Width() == 32 && first->Format().IsRgb32());
    Surface* const address = first.get();
    std::shared_ptr<const Surface> holder = std::move(first);
    EXPECT_NE(pool.Acquire().get(), address) << "still held";
    holder.reset();
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(pool.Acquire().get() == address || pool.Created() == 2);
    EXPECT_EQ(pool.Created(), 2) << "steady use makes no new surfaces";
}

// A plane smaller than the thumbnail (the chroma of a 176 x 144 picture) is
// left to libswscale: the box sums would read past its rows.
TEST(PlaneShrinkerTest, PlanesSmallerThanTheTargetAreRefused) {
    const ffmpeg::FramePtr picture = ffmpeg::MakeFrame();
    ASSERT_TRUE(picture);
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = 176;
    picture->height = 144;
    ASSERT_GE(av_frame_get_buffer(picture.get(), 0), 0);
    PlaneShrinker shrinker;
    EXPECT_FALSE(shrinker.Shrink(*picture, 100, 80));
    EXPECT_TRUE(shrinker.Shrink(*picture, 88, 72));
}

}  // namespace
}  // namespace trevanto::test

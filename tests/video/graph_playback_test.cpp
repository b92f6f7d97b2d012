// Opening and playing the generated clips of every container.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

class GraphClipTest : public ::testing::TestWithParam<TestClip> {
  protected:
    std::unique_ptr<MediaGraph> Open() {
        std::string error;
        auto graph = OpenUnpaced(MediaPath(GetParam()), error);
        EXPECT_TRUE(graph) << error;
        return graph;
    }
};

TEST_P(GraphClipTest, ReportsItsFactsThenUnpacedPlayDeliversEveryFrameOnceInOrder) {
    const auto graph = Open();
    ASSERT_TRUE(graph);
    int width = 0, height = 0;
    EXPECT_TRUE(graph->VideoSize(width, height));
    EXPECT_EQ(std::pair(width, height), std::pair(GetParam().width, GetParam().height));
    EXPECT_NEAR(graph->AvgTimePerFrame(), 1.0 / GetParam().framesPerSecond, 1e-9);
    EXPECT_EQ(FrameAt(*graph, graph->DurationSeconds()), GetParam().frameCount);
    EXPECT_EQ(graph->GetState(), GraphState::Stopped);
    EXPECT_DOUBLE_EQ(graph->Rate(), 1.0);
    EXPECT_TRUE(StaysQuiet(*graph, 50ms)) << "a stopped graph delivers nothing";
    std::atomic<int> notified{0};
    graph->SetNotify([&] { ++notified; });
    ASSERT_TRUE(graph->Run());
    EXPECT_EQ(graph->GetState(), GraphState::Running);
    std::vector<int> codes;
    int completes = 0;
    GraphEvent event;
    while (WaitEvent(*graph, event, 20s)) {
        if (event.code == GraphEventCode::Complete) {
            ++completes;
            break;
        }
        ASSERT_EQ(event.code, GraphEventCode::Repaint);
        ASSERT_TRUE(event.frame);
        EXPECT_TRUE(event.frame->Width() == width && event.frame->Format().IsRgb32());
        const int code = ReadFrameCode(*event.frame);
        codes.push_back(code);
        // The position is the presentation time of the frame just taken.
        double position = -1.0;
        graph->GetCurrentPosition(position);
        EXPECT_EQ(FrameAt(*graph, position), code);
        EXPECT_EQ(FrameAt(*graph, event.frameSeconds), code);
    }
    EXPECT_EQ(completes, 1);
    ASSERT_EQ(static_cast<int>(codes.size()), GetParam().frameCount);
    for (int i = 0; i < GetParam().frameCount; ++i)
        ASSERT_EQ(codes[i], i) << "at index " << i;
    EXPECT_TRUE(StaysQuiet(*graph)) << "the end is reported once";
    EXPECT_GE(notified.load(), GetParam().frameCount + 1);
    EXPECT_EQ(graph->GetState(), GraphState::Running);
}

TEST_P(GraphClipTest, PauseHaltsDeliveryAndRunResumesWithoutLosingFrames) {
    const auto graph = Open();
    ASSERT_TRUE(graph);
    graph->Run();
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(NextFrameCode(*graph), i);
    graph->Pause();
    EXPECT_EQ(graph->GetState(), GraphState::Paused);
    // At most the frame queued before the pause is still waiting.
    GraphEvent event;
    int next = 10;
    while (WaitEvent(*graph, event, 100ms)) {
        ASSERT_EQ(event.code, GraphEventCode::Repaint);
        ASSERT_EQ(ReadFrameCode(*event.frame), next++);
    }
    EXPECT_LE(next, 11);
    graph->Run();
    for (int i = next; i < next + 5; ++i)
        ASSERT_EQ(NextFrameCode(*graph), i);
    graph->Stop();
    EXPECT_EQ(graph->GetState(), GraphState::Stopped);
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphClipTest, ::testing::ValuesIn(TestClips()), ClipTestName());

// Program streams estimate their length from the last timestamps the demuxer
// reads, which can fall a few frames short on longer files.
TEST(GraphLengthTest, ProgramStreamLengthCountsTheLastFrames) {
    std::string error;
    const auto graph = OpenUnpaced(MediaPath(SampleVideo()), error);
    ASSERT_TRUE(graph) << error;
    EXPECT_EQ(FrameAt(*graph, graph->DurationSeconds()), SampleVideo().frameCount);
    // The first frame is still the stream's first after measuring the end.
    ASSERT_TRUE(graph->Run());
    GraphEvent event;
    for (int tries = 0; tries < 2000 && !graph->GetEvent(event); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(event.code, GraphEventCode::Repaint);
    EXPECT_EQ(FrameAt(*graph, event.frameSeconds), 0);
}

TEST(GraphPacedTest, PlaysInOrderAtTheRateAndStopsOnPause) {
    std::string error;
    auto graph = OpenMediaGraph(MediaPath(TestClips().front()), error);
    ASSERT_TRUE(graph) << error;
    EXPECT_TRUE(graph->SetRate(4.0));
    EXPECT_DOUBLE_EQ(graph->Rate(), 4.0);
    EXPECT_FALSE(graph->SetRate(0.0));
    EXPECT_FALSE(graph->SetRate(-1.0));
    graph->Run();
    int last = -1;
    for (int i = 0; i < 20; ++i) {
        const int code = NextFrameCode(*graph, 5s);
        ASSERT_GT(code, last);  // late frames may be dropped, never reordered
        last = code;
    }
    graph->Pause();
    GraphEvent event;
    while (WaitEvent(*graph, event, 100ms)) {
    }
    EXPECT_TRUE(StaysQuiet(*graph, 200ms));
}

TEST(GraphPacedTest, DestroyingARunningGraphDoesNotHang) {
    for (const TestClip& clip : TestClips()) {
        std::string error;
        auto graph = OpenMediaGraph(MediaPath(clip), error);
        ASSERT_TRUE(graph) << error;
        graph->Run();
        GraphEvent event;
        EXPECT_TRUE(WaitEvent(*graph, event, 5s));
        graph.reset();
    }
}

TEST(GraphFrameTest, DeliveredFramesOutliveTheGraph) {
    std::string error;
    auto graph = OpenUnpaced(MediaPath(TestClips().front()), error);
    ASSERT_TRUE(graph) << error;
    graph->Run();
    GraphEvent first, second;
    ASSERT_TRUE(WaitEvent(*graph, first));
    ASSERT_TRUE(WaitEvent(*graph, second));
    graph.reset();
    ASSERT_TRUE(first.frame && second.frame);
    EXPECT_NE(first.frame.get(), second.frame.get());
    EXPECT_EQ(ReadFrameCode(*first.frame), 0);
    EXPECT_EQ(ReadFrameCode(*second.frame), 1);
}

}  // namespace
}  // namespace trevanto::test

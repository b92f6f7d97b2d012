// Exact seeks in every container: the next repaint event after a seek holds
// exactly the sought frame, whatever the state.
#include <gtest/gtest.h>

#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

// Scattered targets, forward and backward, mid-GOP and on key frames,
// first and last frame included.
std::vector<int> Targets(int frameCount) {
    const std::vector<int> spread = {137, 5,  190, 63, 64, 0,   199, 100, 13, 88,  41,
                                     170, 12, 150, 99, 31, 160, 77,  120, 1,  149, 2};
    std::vector<int> targets;
    for (const int frame : spread)
        if (frame < frameCount)
            targets.push_back(frame);
    return targets;
}

class GraphSeekTest : public UnpacedClipGraphTest {};

TEST_P(GraphSeekTest, StoppedOrPausedDeliversExactlyTheSoughtFrameAndStaysThere) {
    const int middle = GetParam().frameCount / 2 + 3;
    ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, middle)));
    EXPECT_EQ(NextFrameCode(*graph_), middle);
    EXPECT_EQ(graph_->GetState(), GraphState::Stopped);
    EXPECT_TRUE(StaysQuiet(*graph_));
    ASSERT_TRUE(graph_->Pause());
    for (const int target : Targets(GetParam().frameCount)) {
        ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, target)));
        ASSERT_EQ(NextFrameCode(*graph_), target);
        double position = -1.0;
        graph_->GetCurrentPosition(position);
        EXPECT_EQ(FrameAt(*graph_, position), target);
    }
    // Between frames the nearest one; of quick seeks only the last; the
    // duration gives the last frame.
    const double perFrame = graph_->AvgTimePerFrame();
    ASSERT_TRUE(graph_->PutCurrentPosition(50.49 * perFrame));
    EXPECT_EQ(NextFrameCode(*graph_), 50);
    ASSERT_TRUE(graph_->PutCurrentPosition(50.5 * perFrame));
    EXPECT_EQ(NextFrameCode(*graph_), 51);
    for (const int target : {10, 150, 30, 77})
        graph_->PutCurrentPosition(SecondsOf(*graph_, target));
    EXPECT_EQ(NextFrameCode(*graph_), 77);
    ASSERT_TRUE(graph_->PutCurrentPosition(graph_->DurationSeconds()));
    EXPECT_EQ(NextFrameCode(*graph_), GetParam().frameCount - 1);
    EXPECT_FALSE(graph_->PutCurrentPosition(-1.0));
    EXPECT_EQ(graph_->GetState(), GraphState::Paused);
    EXPECT_TRUE(StaysQuiet(*graph_));
}

TEST_P(GraphSeekTest, RunningDeliversTheSoughtFrameThenPlaysOnToTheEndAndAfterARewind) {
    ASSERT_TRUE(graph_->Run());
    const int last = GetParam().frameCount - 1;
    for (const int target : Targets(GetParam().frameCount)) {
        ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, target)));
        ASSERT_EQ(NextFrameCode(*graph_), target);
        if (target + 2 <= last) {
            ASSERT_EQ(NextFrameCode(*graph_), target + 1);
            ASSERT_EQ(NextFrameCode(*graph_), target + 2);
        }
    }
    ASSERT_TRUE(graph_->PutCurrentPosition(SecondsOf(*graph_, last - 1)));
    EXPECT_EQ(NextFrameCode(*graph_), last - 1);
    EXPECT_EQ(NextFrameCode(*graph_), last);
    GraphEvent event;
    ASSERT_TRUE(WaitEvent(*graph_, event));
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_TRUE(StaysQuiet(*graph_));
    // The owner rewinds at the end; playback goes on from there.
    ASSERT_TRUE(graph_->PutCurrentPosition(0.0));
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(NextFrameCode(*graph_), i);
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphSeekTest, ::testing::ValuesIn(TestClips()), ClipTestName());

}  // namespace
}  // namespace trevanto::test

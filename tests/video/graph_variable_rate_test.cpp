// A clip whose rate changes part way: the picture index gives each frame's
// own time, which no constant-rate file pays for.
#include <gtest/gtest.h>

#include <random>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

TEST(GraphVariableRateTest, EachFrameHasItsPicturesTime) {
    OpenError error;
    const auto graph = OpenUnpaced(MediaPath(VariableRateClip()), error);
    ASSERT_TRUE(graph) << error.text;
    // Read off the owner's path: known at the latest once a later frame came.
    ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, 120)));
    EXPECT_EQ(NextFrameCode(*graph), 120);
    const auto seconds = graph->PictureSeconds();
    ASSERT_TRUE(seconds);
    ASSERT_EQ(seconds->size(), size_t(VariableRateClip().frameCount));
    for (int frame = 0; frame < VariableRateClip().frameCount; ++frame)
        ASSERT_NEAR((*seconds)[frame],
                    double(VariableRateTicks(frame)) / kVariableRateTicksPerSecond, 1e-6)
            << frame;

    // Exact seeks on both sides of the change, in a shuffled order.
    std::mt19937 random(28);
    std::uniform_int_distribution<int> frames(0, VariableRateClip().frameCount - 1);
    for (int i = 0; i < 24; ++i) {
        const int target = frames(random);
        ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, target)));
        ASSERT_EQ(NextFrameCode(*graph), target);
    }

    const auto constant = OpenUnpaced(MediaPath(TestClips().front()), error);
    ASSERT_TRUE(constant) << error.text;
    ASSERT_TRUE(constant->PutCurrentPosition(SecondsOf(*constant, 120)));
    EXPECT_EQ(NextFrameCode(*constant), 120);
    EXPECT_FALSE(constant->PictureSeconds()) << "a constant rate needs no index";
}

}  // namespace
}  // namespace trevanto::test

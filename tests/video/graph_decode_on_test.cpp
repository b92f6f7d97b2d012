// A frame job seeks item after item, mostly a few frames ahead: the graph
// then decodes on instead of seeking. Its pictures must be those a seek to
// each frame alone gives, byte for byte, on every generated clip.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

// The frame a seek delivered: its time and pixels; no pixels when none came.
struct Delivered {
    double seconds = -1.0;
    std::vector<uint8_t> pixels;
};

Delivered SeekAndTake(MediaGraph& graph, int frame) {
    Delivered delivered;
    GraphEvent event;
    if (!graph.PutCurrentPosition(SecondsOf(graph, frame)) || !WaitEvent(graph, event) ||
        event.code != GraphEventCode::Repaint || !event.frame)
        return delivered;
    const Surface& surface = *event.frame;
    delivered.seconds = event.frameSeconds;
    for (int y = 0; y < surface.Height(); ++y)
        delivered.pixels.insert(delivered.pixels.end(), surface.Row(y),
                                surface.Row(y) + surface.Width() * 4);
    return delivered;
}

class GraphDecodeOnTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(GraphDecodeOnTest, GivesTheFramesOfSeeksAlone) {
    const TestClip& clip = GetParam();
    SCOPED_TRACE(clip.file);
    const int count = clip.frameCount;
    // A job's order: a far item (sought), then items a few frames ahead
    // (decoded on), one far ahead, one behind, the last frame and past it.
    const std::vector<int> items = {60,  61,  63,  64, 70, 82,        83,       99,
                                    160, 161, 165, 20, 21, count - 1, count + 3};
    OpenError error;
    const auto inOrder = OpenUnpaced(MediaPath(clip), error);
    const auto alone = OpenUnpaced(MediaPath(clip), error);
    ASSERT_TRUE(inOrder && alone) << MediaErrorText(error.cause, MediaPath(clip));
    std::vector<Delivered> decodedOn, sought(items.size());
    for (const int frame : items)
        decodedOn.push_back(SeekAndTake(*inOrder, frame));
    // Backwards, every item is sought.
    std::vector<size_t> backwards(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        backwards[i] = i;
    std::sort(backwards.begin(), backwards.end(),
              [&](size_t a, size_t b) { return items[a] > items[b]; });
    for (const size_t i : backwards)
        sought[i] = SeekAndTake(*alone, items[i]);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(sought[i].pixels.empty()) << "frame " << items[i] << " sought";
        EXPECT_EQ(decodedOn[i].seconds, sought[i].seconds) << "frame " << items[i];
        EXPECT_TRUE(decodedOn[i].pixels == sought[i].pixels) << "frame " << items[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphDecodeOnTest, ::testing::ValuesIn(TestClips()));
INSTANTIATE_TEST_SUITE_P(VariableRate, GraphDecodeOnTest, ::testing::Values(VariableRateClip()));

}  // namespace
}  // namespace trevanto::test

// A frame job's pictures made by workers segment by segment: on every
// generated clip, for any number of workers and any segment size, each
// item's picture is byte for byte the frame a seek of the graph delivers.
#include <gtest/gtest.h>

#include "graph_driver.h"
#include "video/segment_frames.h"

namespace trevanto::test {
namespace {

// The hash of the picture a seek of the graph delivers; 0 when none came.
size_t SoughtHash(MediaGraph& graph, int frame) {
    GraphEvent event;
    if (!graph.PutCurrentPosition(SecondsOf(graph, frame)) || !WaitEvent(graph, event) ||
        event.code != GraphEventCode::Repaint || !event.frame)
        return 0;
    return PictureHash(*event.frame);
}

std::vector<size_t> WorkerHashes(const std::string& path, const std::vector<int64_t>& items,
                                 int workers, int64_t segmentFrames) {
    SegmentFrames<size_t> frames(
        {path, items, workers, segmentFrames, {}},
        [](int64_t, const Surface& picture) { return PictureHash(picture); });
    std::vector<size_t> hashes;
    for (size_t k = 0; k < items.size(); ++k) {
        size_t hash = 0;
        auto state = SegmentFrames<size_t>::State::Pending;
        while (state == SegmentFrames<size_t>::State::Pending)
            state = frames.Take(k, std::chrono::milliseconds(100), hash);
        hashes.push_back(state == SegmentFrames<size_t>::State::Ready ? hash : 0);
    }
    return hashes;
}

class SegmentFramesTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(SegmentFramesTest, GiveTheFramesOfSeeksForAnyWorkers) {
    const TestClip& clip = GetParam();
    SCOPED_TRACE(clip.file);
    const int64_t count = clip.frameCount;
    // A job's order: mostly ahead, one frame twice, one behind, an item
    // without a frame, the last frame and past it.
    const std::vector<int64_t> items = {0,   5,  31, 32, 60, 60,        61,       99,
                                        160, 20, -1, 21, 45, count - 1, count + 3};
    OpenError error;
    const auto graph = OpenUnpaced(MediaPath(clip), error);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(clip));
    std::vector<size_t> sought;
    for (const int64_t frame : items)
        sought.push_back(frame < 0 ? 0 : SoughtHash(*graph, static_cast<int>(frame)));
    struct Row {
        int workers;
        int64_t segmentFrames;
    };
    for (const Row row : {Row{1, kSegmentFrames}, Row{1, 30}, Row{3, 30}, Row{2, 1}}) {
        const std::vector<size_t> made =
            WorkerHashes(MediaPath(clip), items, row.workers, row.segmentFrames);
        for (size_t k = 0; k < items.size(); ++k)
            EXPECT_EQ(made[k], sought[k]) << "frame " << items[k] << ", " << row.workers
                                          << " workers, segments of " << row.segmentFrames;
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SegmentFramesTest, ::testing::ValuesIn(TestClips()));
INSTANTIATE_TEST_SUITE_P(VariableRate, SegmentFramesTest, ::testing::Values(VariableRateClip()));

}  // namespace
}  // namespace trevanto::test

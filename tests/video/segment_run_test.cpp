// Segment-parallel engine runs: the same shots, pictures and scores for any
// number of workers and any segment size, and on intact clips those of the
// run over the playback graph's delivered thumbnails.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string_view>

#include "graph_driver.h"
#include "shots/run_stitcher.h"
#include "video/segment_pool.h"

namespace trevanto::test {
namespace {

constexpr int kWidth = 100, kHeight = 80;
constexpr float kThreshold = 15.0f;

struct RunOutcome {
    std::vector<ShotRange> shots;
    std::vector<size_t> pictures;  // a hash of each shot's picture
    std::vector<FrameScore> scores;
    bool operator==(const RunOutcome&) const = default;
};

size_t PictureHash(const Surface* picture) {
    if (!picture)
        return 0;
    size_t sum = 1;
    for (int y = 0; y < picture->Height(); ++y)
        sum = sum * 31 + std::hash<std::string_view>{}(
                             std::string_view(reinterpret_cast<const char*>(picture->Row(y)),
                                              static_cast<size_t>(picture->Width()) * 4));
    return sum;
}

std::shared_ptr<Surface> Copy(const Surface& from) {
    auto copy = std::make_shared<Surface>(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y)
        std::memcpy(copy->Row(y), from.Row(y), static_cast<size_t>(from.Width()) * 4);
    return copy;
}

// Today's run: the graph plays unpaced, thumbnails alone, and each
// delivered thumbnail goes through the slicer as the document passes it on.
RunOutcome SequentialRun(const std::string& path) {
    RunOutcome outcome;
    OpenError error;
    auto graph = OpenUnpaced(path, error);
    if (!graph)
        return outcome;
    graph->SetThumbnailSize(kWidth, kHeight);
    graph->SetPlaybackFrames(false);
    ShotSlicer slicer;
    slicer.Settings().threshold = kThreshold;
    slicer.StartEngine(PerFrame(*graph));
    Surface thumbnail(kWidth, kHeight);
    std::shared_ptr<Surface> shotStart;
    int frame = -1;
    graph->Run();
    GraphEvent event;
    const auto process = [&](int number, bool force) {
        const SliceStep step = slicer.ProcessFrame(thumbnail, number, force);
        if (step.finishedShot) {
            outcome.shots.push_back(*step.finishedShot);
            outcome.pictures.push_back(PictureHash(shotStart.get()));
        }
        if (step.runStarted || step.finishedShot)
            shotStart = Copy(thumbnail);
    };
    while (WaitEvent(*graph, event, 30s) && event.code == GraphEventCode::Repaint) {
        if (!event.thumbnail)
            continue;
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(thumbnail.Row(y), event.thumbnail->Row(y), kWidth * 4);
        process(frame = FrameAt(*graph, event.frameSeconds), false);
    }
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    process(frame + 1, true);
    outcome.scores = slicer.Scores().Frames();
    return outcome;
}

struct ParallelRun {
    RunOutcome outcome;
    std::vector<Segment> plan;
};

ParallelRun RunInSegments(const std::string& path, int workers, int64_t segmentFrames,
                          const std::function<void(SegmentPool<AnalysedFrame>&)>& meanwhile = {}) {
    ParallelRun run;
    const std::atomic<bool> never{false};
    VideoDecoder planner(never);
    OpenError error;
    if (!planner.Open({path}, error))
        return run;
    run.plan = PlanSegments(KeyFrameNumbers(planner, path, never), segmentFrames);
    SegmentPool<AnalysedFrame> pool(
        {path, run.plan, workers, kWidth, kHeight},
        [](int64_t frame, Surface& thumbnail, const AnalysedFrame* previous) {
            AnalysedFrame analysed{static_cast<int32_t>(frame), MeasureWholeSurface(thumbnail), {}};
            if (MayStartShot(previous, analysed, kThreshold))
                analysed.picture = Copy(thumbnail);
            return analysed;
        });
    SlicingSettings settings;
    settings.threshold = kThreshold;
    RunStitcher stitcher(settings, planner.FrameSeconds());
    const auto take = [&](const std::optional<StitchedShot>& shot) {
        if (shot) {
            run.outcome.shots.push_back(shot->range);
            run.outcome.pictures.push_back(PictureHash(shot->picture.get()));
        }
    };
    SegmentPool<AnalysedFrame>::SegmentResult result;
    while (pool.Next(result)) {
        for (const AnalysedFrame& frame : result.frames)
            take(stitcher.Add(frame));
        if (meanwhile)
            meanwhile(pool);
    }
    take(stitcher.Close());
    run.outcome.scores = stitcher.Scores().Frames();
    return run;
}

class SegmentRunTest : public testing::TestWithParam<TestClip> {};

TEST_P(SegmentRunTest, EveryWorkerCountCutsAsTodaysRun) {
    const std::string path = MediaPath(GetParam());
    const RunOutcome today = SequentialRun(path);
    ASSERT_FALSE(today.shots.empty());
    // Every key frame a segment's start (every edge there is), and the
    // default size (one segment for a short clip).
    for (const int64_t segmentFrames : {int64_t{1}, kSegmentFrames}) {
        for (const int workers : {1, 2, 3, 8}) {
            SCOPED_TRACE(testing::Message() << workers << " workers, segments of "
                                            << segmentFrames << "+ frames");
            const ParallelRun run = RunInSegments(path, workers, segmentFrames);
            EXPECT_EQ(run.outcome, today);
            EXPECT_EQ(std::count(run.outcome.pictures.begin(), run.outcome.pictures.end(), 0u), 0)
                << "a shot without its picture";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SegmentRunTest, testing::ValuesIn(EveryClipForm()));

}  // namespace
}  // namespace trevanto::test

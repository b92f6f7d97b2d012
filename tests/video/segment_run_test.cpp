// Segment-parallel engine runs: the same shots, pictures and scores for any
// number of workers and any segment size, and on intact clips those of the
// run over the playback graph's delivered thumbnails.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <numeric>
#include <random>

#include "graph_driver.h"
#include "shots/run_stitcher.h"
#include "video/segment_pool.h"
#include "video/worker_budget.h"

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

std::shared_ptr<Surface> Copy(const Surface& from) {
    auto copy = std::make_shared<Surface>(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y)
        std::memcpy(copy->Row(y), from.Row(y), static_cast<size_t>(from.Width()) * 4);
    return copy;
}

// Today's run: the graph plays unpaced, thumbnails alone, and each
// delivered thumbnail goes through the slicer as the document passes it on.
RunOutcome SequentialRun(const std::string& path, ShotDetector detector = ShotDetector::Spread) {
    RunOutcome outcome;
    OpenError error;
    auto graph = OpenUnpaced(path, error);
    if (!graph)
        return outcome;
    graph->SetThumbnailSize(kWidth, kHeight);
    graph->SetPlaybackFrames(false);
    ShotSlicer slicer;
    slicer.Settings().threshold = kThreshold;
    slicer.Settings().detector = detector;
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
            outcome.pictures.push_back(shotStart ? PictureHash(*shotStart) : 0);
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

std::vector<Segment> FilePlan(const std::string& path, int64_t segmentFrames) {
    const std::atomic<bool> never{false};
    VideoDecoder planner(never);
    OpenError error;
    if (!planner.Open({path}, error))
        return {};
    return PlanSegments(KeyFrameNumbers(planner, path, never), segmentFrames);
}

TEST(WorkerBudget, BoundsWorkersByTheirDecodersMemory) {
    const struct {
        int wanted, width, height, bytesPerSample, workers;
    } rows[] = {
        {8, 1920, 1080, 1, 8},   // 56 MiB each: the cores
        {16, 3840, 2160, 1, 9},  // 4K, 16 references: 225 MiB each
        {16, 3840, 2160, 2, 4},  // 4K at 10 bits: 451 MiB each
        {0, 320, 240, 1, 1},     // never none
    };
    for (const auto& row : rows)
        EXPECT_EQ(BoundedWorkers(row.wanted, row.width, row.height, row.bytesPerSample),
                  row.workers)
            << row.wanted << " wanted at " << row.width << " x " << row.height;
}

// A run in segments; `meanwhile` is called after each segment taken.
RunOutcome RunInSegments(const std::string& path, const std::vector<Segment>& plan, int workers,
                         const std::function<void(SegmentPool<AnalysedFrame>&)>& meanwhile = {},
                         ShotDetector detector = ShotDetector::Spread) {
    RunOutcome outcome;
    SlicingSettings settings;
    settings.threshold = kThreshold;
    settings.detector = detector;
    const bool content = detector == ShotDetector::Content;
    SegmentPool<AnalysedFrame> pool(
        {path, plan, workers, kWidth, kHeight, 0, {}},
        [&settings, content](int64_t frame, Surface& thumbnail, const AnalysedFrame* previous) {
            AnalysedFrame analysed{
                static_cast<int32_t>(frame), MeasureWholeSurface(thumbnail, content), {}};
            if (MayStartShot(previous, analysed, settings))
                analysed.picture = Copy(thumbnail);
            return analysed;
        });
    RunStitcher stitcher(settings, 0.04);
    const auto take = [&](const std::optional<StitchedShot>& shot) {
        if (shot) {
            outcome.shots.push_back(shot->range);
            outcome.pictures.push_back(shot->picture ? PictureHash(*shot->picture) : 0);
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
    outcome.scores = stitcher.Scores().Frames();
    return outcome;
}

// A segment every `step` frames: with 1 every frame is a segment's first
// (shots across every edge, starts between key frames), with 2 every odd
// frame a segment's second (a cut there needs the frame before, from the
// segment before).
std::vector<Segment> SegmentEvery(int step, int frames) {
    std::vector<int64_t> starts;
    for (int frame = 0; frame < frames; frame += step)
        starts.push_back(frame);
    return PlanSegments(starts, 1);
}

TEST(SegmentPlan, StartsAtKeyFramesAfterTheSize) {
    const struct {
        std::vector<int64_t> keyFrames;
        int64_t size;
        std::vector<Segment> plan;
    } rows[] = {
        {{}, 250, {{0, -1}}},                                            // no index: one segment
        {{0, 12, 24, 36}, 250, {{0, -1}}},                               // a short video: one
        {{24, 0, 12, 36}, 12, {{0, 11}, {12, 23}, {24, 35}, {36, -1}}},  // in any order
        {{0, 10, 20, 25, 40, 41}, 15, {{0, 19}, {20, 39}, {40, -1}}},    // irregular
        {{-3, 5}, 1, {{0, 4}, {5, -1}}},  // a key frame before frame 0 starts none
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlanSegments(row.keyFrames, row.size), row.plan)
            << testing::PrintToString(row.keyFrames) << " at " << row.size;
}

class SegmentRunTest : public testing::TestWithParam<TestClip> {};

TEST_P(SegmentRunTest, EveryWorkerCountCutsAsTodaysRun) {
    const std::string path = MediaPath(GetParam());
    const RunOutcome today = SequentialRun(path);
    ASSERT_FALSE(today.shots.empty());
    // Every key frame a segment's start (every edge there is), and the
    // default size (one segment for a short clip).
    for (const int64_t segmentFrames : {int64_t{1}, kSegmentFrames}) {
        const std::vector<Segment> plan = FilePlan(path, segmentFrames);
        for (const int workers : {1, 2, 3, 8}) {
            SCOPED_TRACE(testing::Message()
                         << workers << " workers, " << plan.size() << " segments");
            const RunOutcome run = RunInSegments(path, plan, workers);
            EXPECT_EQ(run, today);
            EXPECT_EQ(std::count(run.pictures.begin(), run.pictures.end(), 0u), 0)
                << "a shot without its picture";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SegmentRunTest, testing::ValuesIn(EveryClipForm()));

// Segments of one and two frames, on the forms whose seeks land before the
// segment (B-frames, open GOPs, an edit list, AVI's decoding times).
TEST(SegmentRun, OneAndTwoFrameSegmentsCutAsTodaysRun) {
    for (const char* file : {"clip_mpeg1.mpg", "clip_mpeg4_bframes.avi", "clip_xvid_packed.avi",
                             "clip_h264_opengop.mkv", "clip_h264_editlist.mp4"}) {
        SCOPED_TRACE(file);
        const TestClip& clip = *FindTestClip(file);
        const RunOutcome today = SequentialRun(MediaPath(clip));
        for (const int step : {1, 2})
            EXPECT_EQ(RunInSegments(MediaPath(clip), SegmentEvery(step, clip.frameCount), 3), today)
                << "a segment every " << step << " frames";
    }
}

// Damaged files cut as they cut, whatever the workers: each segment is
// decoded from its own seek.
TEST(SegmentRun, DamagedFilesCutTheSameForEveryWorkerCount) {
    TempFolder folder;
    for (const char* file : {"clip_mpeg2.mpg", "clip_mpeg4_bframes.avi", "clip_h264.ts"}) {
        SCOPED_TRACE(file);
        std::vector<char> bytes = ReadAll(MediaPath(file));
        std::mt19937 random(1206);
        for (size_t i = 0; i < bytes.size() / 100; ++i)
            bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
        const std::string path = folder.File(file);
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const std::vector<Segment> plan = FilePlan(path, 1);
        const RunOutcome one = RunInSegments(path, plan, 1);
        EXPECT_FALSE(one.scores.empty());
        for (const int workers : {2, 3, 8})
            EXPECT_EQ(RunInSegments(path, plan, workers), one) << workers << " workers";
    }
}

// The content detector on the hard cases: one cut where each stretch has
// one (a frame for a hard cut, a window for the fade and the dissolve),
// none in the others; the same for any number of workers, and the shots and
// scores of a run over the delivered thumbnails.
TEST(SegmentRun, ContentDetectorCutsTheHardCases) {
    const struct {
        const char* kind;
        int first, last, cutFrom, cutTo;  // no cut in [first, last] when cutFrom is -1
    } rows[] = {
        {"two dim shots of equal contrast", 20, 60, kDimSecondShot, kDimSecondShot},
        {"a cut from dim to bright", 60, 95, kFlashShot, kFlashShot},
        {"a white flash of two frames", 95, 135, -1, -1},
        {"a cut into a fast pan", 135, 145, kPanShot, kPanShot},
        {"a fast pan", 145, 195, -1, -1},
        {"a cut into smoke", 195, 205, kSmokeShot, kSmokeShot},
        {"smoke drifting over the shot", 205, 255, -1, -1},
        {"a cut to black", 255, 270, kBlackShot, kBlackShot},
        {"a fade from black", 270, 320, kFadeShot, kFadeShot + kFadeFrames},
        {"a dissolve (not seen)", 320, 379, -1, -1},
    };
    const std::string path = MediaPath(HardCaseClip());
    const std::vector<Segment> plan = FilePlan(path, 1);
    const RunOutcome one = RunInSegments(path, plan, 1, {}, ShotDetector::Content);
    EXPECT_EQ(RunInSegments(path, plan, 3, {}, ShotDetector::Content), one);
    const RunOutcome today = SequentialRun(path, ShotDetector::Content);
    EXPECT_EQ(today.shots, one.shots);
    EXPECT_EQ(today.scores, one.scores);
    for (const auto& row : rows) {
        std::vector<int> cuts;
        for (const ShotRange& shot : one.shots)
            if (shot.start > 0 && shot.start >= row.first && shot.start <= row.last)
                cuts.push_back(shot.start);
        const bool found = cuts.size() == 1 && cuts[0] >= row.cutFrom && cuts[0] <= row.cutTo;
        EXPECT_TRUE(row.cutFrom < 0 ? cuts.empty() : found)
            << row.kind << ": cuts at " << testing::PrintToString(cuts);
    }
}

// The generated clips open on a plain grey picture whose only change is the
// frame counter along its bottom: all its contrast lies in the counter, so
// the layout correlates badly from frame to frame, yet it is one shot.
TEST(SegmentRun, ContentDetectorTakesACounterOnAPlainPictureForOneShot) {
    const std::string path = MediaPath("clip_mpeg1.mpg");
    const RunOutcome run = RunInSegments(path, FilePlan(path, 1), 1, {}, ShotDetector::Content);
    std::vector<int> starts;
    for (const ShotRange& shot : run.shots)
        starts.push_back(shot.start);
    EXPECT_EQ(starts, (std::vector<int>{0, 40, 85, 125, 165}));
}

// A stop ends every worker at once; the shots of the segments taken before
// it stay as a whole run found them.
TEST(SegmentRun, StoppingKeepsWhatWasFound) {
    const std::string path = MediaPath("clip_mpeg2.mpg");
    const RunOutcome whole = RunInSegments(path, SegmentEvery(1, 150), 2);
    const auto start = std::chrono::steady_clock::now();
    int taken = 0;
    const RunOutcome stopped =
        RunInSegments(path, SegmentEvery(1, 150), 2, [&](SegmentPool<AnalysedFrame>& pool) {
            if (++taken == 80)
                pool.Stop();
        });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    // Segments finished before the stop still come, at most the window's.
    EXPECT_GE(taken, 80);
    EXPECT_LE(taken, 80 + 2 * 2) << "segments were decoded after the stop";
    // All but the close, which the stop moved.
    ASSERT_GE(stopped.scores.size(), 81u);
    EXPECT_TRUE(std::equal(stopped.scores.begin(), stopped.scores.end() - 1, whole.scores.begin()));
    ASSERT_FALSE(stopped.shots.empty());
    EXPECT_TRUE(std::equal(stopped.shots.begin(), stopped.shots.end() - 1, whole.shots.begin()));
}

}  // namespace
}  // namespace trevanto::test

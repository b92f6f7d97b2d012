// Slicing runs on synthetic pictures: the engine's cuts, the sampler's step
// and backward jumps, forced closes and 16-bit thresholds; the content
// rule cut again from kept scores.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shots/content_rule.h"
#include "shots/score_columns.h"
#include "shots/shot_slicer.h"
#include "shots/synthetic_frames.h"

namespace trevanto {
namespace {

using test::PaintStripes;

// Frames first..last showing stripes of one contrast, the last one forced;
// first -1: the run is started again.
struct Frames {
    int32_t first, last = -1;
    int contrast = 20;
    bool forceLast = false;
};

TEST(Slicing, RunsCutWhereTheyShould) {
    const struct {
        const char* what;
        bool engine;
        float shotsWanted;  // 0: every 40 frames
        std::vector<Frames> frames;
        std::vector<ShotRange> shots;
    } rows[] = {
        // A change of exactly the threshold (5 per channel, 15 in all) is no cut.
        {"engine", true, 0, {{0, 2}, {3, 4, 60}, {5, 5, 65}, {6, 6, 71}}, {{0, 2}, {3, 5}}},
        {"engine forced", true, 0, {{10, 20, 20, true}}, {{10, 19}}},
        // A run's first two frames make no cut; the same frame twice is
        // skipped; a backward jump restarts the shot.
        {"first two", true, 0, {{100, 100, 5}, {101, 101, 90}, {102, 102, 5}}, {{100, 101}}},
        {"twice", true, 0, {{0, 8, 10}, {8, 8, 90}, {9, 9, 90}}, {{0, 8}}},
        {"engine back", true, 0, {{500, 502, 5}, {100, 101, 90}, {102, 102, 5}}, {{100, 101}}},
        // Forcing at the frame just analysed closes the shot with that frame;
        // a later run stopped at its first frame makes no shot.
        {"forced again",
         true,
         0,
         {{30, 35}, {35, 35, 20, true}, {-1}, {50, 50, 20, true}},
         {{30, 35}}},
        {"sampler forced at once", false, 0, {{60, 60, 20, true}}, {}},
        {"sampler every 40", false, 0, {{0, 120, 0}}, {{0, 39}, {40, 79}, {80, 119}}},
        {"sampler dropping", false, 0, {{0, 0}, {38, 38}, {43, 43}}, {{0, 42}}},
        {"sampler back", false, 0, {{480, 480}, {500, 500}, {100, 100}}, {{100, 139}}},
        {"sampler back a little", false, 0, {{480, 480}, {500, 500}, {470, 470}}, {{470, 480}}},
        {"sampler forced", false, 0, {{0, 100, 20, true}}, {{0, 39}, {40, 79}, {80, 99}}},
        {"sampler step 0", false, 2000, {{0, 2}}, {{0, 0}, {1, 1}}},
        {"sampler restarted", false, 0, {{0, 0}, {30, 30}, {-1}, {200, 200}}, {}}};
    Surface surface{100, 80};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ShotSlicer run;
        if (row.shotsWanted > 0) {
            run.Settings().rateOption = 0;
            run.Settings().rateValue = row.shotsWanted;
        }
        const auto start = [&] { row.engine ? run.StartEngine() : run.StartSampler(1000, 0.04); };
        start();
        EXPECT_EQ(run.Mode(), row.engine ? SlicingMode::Engine : SlicingMode::Sampler);
        std::vector<ShotRange> shots;
        for (const Frames& frames : row.frames) {
            if (frames.first < 0) {
                run.StopSlicing();
                EXPECT_FALSE(run.IsActive());
                start();
            }
            for (int32_t frame = frames.first; frame <= frames.last && frame >= 0; ++frame) {
                PaintStripes(surface, frames.contrast);
                const bool force = frames.forceLast && frame == frames.last;
                const SliceStep step = run.ProcessFrame(surface, frame, force);
                EXPECT_TRUE(step.analysed);
                if (step.finishedShot)
                    shots.push_back(*step.finishedShot);
            }
        }
        EXPECT_EQ(shots, row.shots);
    }
}

TEST(Slicing, LockedSurfaceIsSkippedAndSixteenBitPixelsGetAScaledThreshold) {
    ShotSlicer slicer;
    slicer.StartEngine();
    Surface locked(100, 80);
    locked.Lock();
    const SliceStep step = slicer.ProcessFrame(locked, 0, true);
    EXPECT_FALSE(step.analysed || step.finishedShot);
    locked.Unlock();

    // The user's threshold as the detector compares it, at each pixel depth.
    const std::pair<int, float> depths[] = {{15, 2.375f}, {16, 2.375f}, {24, 15.0f}, {32, 15.0f}};
    for (const auto& [bitsPerPixel, detector] : depths)
        EXPECT_FLOAT_EQ(DetectorThreshold(15.0f, bitsPerPixel), detector) << bitsPerPixel;
    Surface surface(100, 80, PixelFormat::Rgb565());
    // Red alternating a and b, green and blue constant.
    auto frame = [&](int32_t number, uint16_t a, uint16_t b) {
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                const auto word = static_cast<uint16_t>(((x % 2 ? b : a) << 11) | (20 << 5) | 9);
                std::memcpy(surface.Row(y) + x * 2, &word, 2);
            }
        }
        return slicer.ProcessFrame(surface, number, false).finishedShot;
    };
    EXPECT_FALSE(frame(0, 12, 12));
    EXPECT_FALSE(frame(1, 12, 12));
    EXPECT_FALSE(frame(2, 10, 14));                  // red spread 0 -> 2.0: not above 2.375
    EXPECT_FALSE(frame(3, 12, 12));                  // and back
    EXPECT_EQ(frame(4, 10, 15), (ShotRange{0, 3}));  // 0 -> 2.5: a cut
}

// The graph's threshold -> shot count (16-bit scores compared at the scaled
// threshold), and its columns of 10 frames each.
TEST(Slicing, ScoresGiveShotCountsAndColumns) {
    std::vector<FrameScore> scores{{0, 99, true}, {1, 50}, {2, 9}, {3, 30}, {4, 30}};
    for (int32_t frame = 5; frame < 100; ++frame)
        scores.push_back({frame, frame % 10 == 0 ? 20.0f : 1.0f});
    scores.push_back({100, 0, false, true});
    const std::tuple<int, float, int32_t> rows[] = {{32, 0.5f, 50}, {32, 1, 12},    {32, 19.9f, 11},
                                                    {32, 20, 2},    {32, 29.9f, 2}, {32, 30, 1},
                                                    {32, 1e9f, 1},  {16, 12, 12},   {16, 156, 2}};
    for (const auto& [bitsPerPixel, threshold, count] : rows) {
        ChangeScores changes;
        changes.Begin(0.04, bitsPerPixel, threshold);
        for (const FrameScore& score : scores)
            changes.Add(score);
        EXPECT_EQ(changes.ShotCountAt(threshold), count) << bitsPerPixel << " " << threshold;
    }
    const auto columns = ScoreColumns(scores, 100, 10);
    EXPECT_EQ(std::tuple(columns[0].low, columns[0].high, columns[1].low, columns[1].high),
              std::tuple(1.0f, 50.0f, 1.0f, 20.0f));  // the run's first frame left out
    EXPECT_EQ(std::pair(FrameOfColumn(3, 100, 10), FrameOfColumn(3, 7, 10)), std::pair(30, 3));
    EXPECT_EQ(TopScore(scores), 50.0f);
}

}  // namespace
}  // namespace trevanto

namespace trevanto {
namespace {

// A content score cuts only once the frames it looked ahead at came in the
// same run: a leap two frames before the run's close or a jump back cuts
// nothing, as in the run; three frames before, it cuts.
TEST(ContentRecut, ALeapCutsOnlyWhenItsLookAheadCameInTheRun) {
    const auto recut = [](int32_t leapAt, bool jumpBack) {
        std::vector<FrameScore> scores;
        for (int32_t frame = 0; frame < 20; ++frame)
            scores.push_back({frame, frame == leapAt ? 90.0f : 1.0f, frame == 0, false});
        if (jumpBack)
            scores.push_back({5, 1.0f, false, false});
        else
            scores.push_back({20, 0.0f, false, true});
        std::vector<int32_t> cuts;
        for (const ShotRange& shot : RecutContent(scores, 20.0f).shots)
            cuts.push_back(shot.end + 1);
        return cuts;
    };
    EXPECT_EQ(recut(17, false), (std::vector<int32_t>{17, 20}));
    EXPECT_EQ(recut(18, false), (std::vector<int32_t>{20}));
    EXPECT_EQ(recut(18, true), (std::vector<int32_t>{}));
}

}  // namespace
}  // namespace trevanto

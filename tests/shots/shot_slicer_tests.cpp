// Slicing runs on synthetic pictures: the engine's cuts, the sampler's step
// and backward jumps, forced closes and 16-bit thresholds.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shots/shot_slicer.h"
#include "shots/synthetic_frames.h"

namespace trevanto {
namespace {

using test::PaintStripes;

struct Slicing : ::testing::Test {
    // Processes `frame` showing stripes of `contrast`; returns its shot.
    std::optional<ShotRange> Frame(int32_t frame, int contrast = 20, bool force = false) {
        PaintStripes(surface, contrast);
        const SliceStep step = slicer.ProcessFrame(surface, frame, force);
        EXPECT_TRUE(step.analysed);
        return step.finishedShot;
    }

    Surface surface{100, 80};
    ShotSlicer slicer;
};

// Frames first..last showing stripes of one contrast; the last one forced.
struct Frames {
    int32_t first, last;
    int contrast = 20;
    bool forceLast = false;
};

TEST_F(Slicing, RunsCutWhereTheyShould) {
    struct Row {
        const char* what;
        bool engine;
        std::vector<Frames> frames;
        std::vector<ShotRange> shots;
    };
    const Row rows[] = {
        // A change of exactly the threshold (5 per channel, 15 in all) is no cut.
        {"engine", true, {{0, 2}, {3, 4, 60}, {5, 5, 65}, {6, 6, 71}}, {{0, 2}, {3, 5}}},
        {"engine forced", true, {{10, 20, 20, true}}, {{10, 19}}},
        // Forcing at the frame just analysed closes the shot with that frame.
        {"engine forced again", true, {{30, 35}, {35, 35, 20, true}}, {{30, 35}}},
        {"engine forced at once", true, {{50, 50, 20, true}}, {}},
        {"sampler forced at once", false, {{60, 60, 20, true}}, {}},
        {"sampler every 40", false, {{0, 120, 0}}, {{0, 39}, {40, 79}, {80, 119}}},
        {"sampler dropping", false, {{0, 0}, {38, 38}, {43, 43}}, {{0, 42}}},
        {"sampler back", false, {{480, 480}, {500, 500}, {100, 100}}, {{100, 139}}},
        {"sampler back a little", false, {{480, 480}, {500, 500}, {470, 470}}, {{470, 480}}},
        {"sampler forced", false, {{0, 100, 20, true}}, {{0, 39}, {40, 79}, {80, 99}}},
    };
    for (const Row& row : rows) {
        ShotSlicer run;  // each row on a slicer of its own
        if (row.engine)
            run.StartEngine();
        else
            run.StartSampler(1000, 0.04);  // every 40 frames by default
        EXPECT_EQ(run.Mode(), row.engine ? SlicingMode::Engine : SlicingMode::Sampler);
        std::vector<ShotRange> shots;
        for (const Frames& frames : row.frames) {
            for (int32_t frame = frames.first; frame <= frames.last; ++frame) {
                PaintStripes(surface, frames.contrast);
                const bool force = frames.forceLast && frame == frames.last;
                if (const auto shot = run.ProcessFrame(surface, frame, force).finishedShot)
                    shots.push_back(*shot);
            }
        }
        EXPECT_EQ(shots, row.shots) << row.what;
    }
}

TEST_F(Slicing, ForcedCloseAtALaterRunsFirstFrameMakesNoShot) {
    slicer.StartEngine();
    for (int32_t frame = 30; frame <= 35; ++frame)
        Frame(frame);
    EXPECT_EQ(Frame(35, 20, true), (ShotRange{30, 35}));
    slicer.StartEngine();
    EXPECT_FALSE(Frame(50, 20, true));
}

TEST_F(Slicing, SamplerWithStepZeroEndsAShotAtEveryFrame) {
    slicer.Settings().rateOption = 0;
    slicer.Settings().rateValue = 500.0f;
    slicer.StartSampler(100, 0.04);
    PaintStripes(surface, 20);
    const SliceStep first = slicer.ProcessFrame(surface, 0, false);
    EXPECT_TRUE(first.runStarted && !first.finishedShot);  // the first frame closes nothing
    EXPECT_EQ(Frame(1), (ShotRange{0, 0}));
    EXPECT_EQ(Frame(2), (ShotRange{1, 1}));
}

TEST_F(Slicing, StopAndRestartBeginANewShot) {
    slicer.StartSampler(1000, 0.04);
    Frame(0);
    Frame(30);
    slicer.StopSlicing();
    EXPECT_FALSE(slicer.IsActive());
    slicer.StartSampler(1000, 0.04);
    EXPECT_FALSE(Frame(200));
    EXPECT_EQ(slicer.Settings().samplerShotStart, 200);
}

TEST_F(Slicing, LockedSurfaceIsSkipped) {
    slicer.StartEngine();
    surface.Lock();
    const SliceStep step = slicer.ProcessFrame(surface, 0, true);
    EXPECT_FALSE(step.analysed);
    EXPECT_FALSE(step.finishedShot);
    surface.Unlock();
}

// 16-bit pixels: red alternating a and b, green and blue constant.
void PaintRed565(Surface& surface, uint16_t a, uint16_t b) {
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const uint16_t word = static_cast<uint16_t>(((x % 2 ? b : a) << 11) | (20 << 5) | 9);
            std::memcpy(surface.Row(y) + x * 2, &word, 2);
        }
    }
}

TEST(EngineThreshold, SixteenBitPixelsGetAScaledThreshold) {
    EXPECT_FLOAT_EQ(ShotSlicer::EngineThreshold(15.0f, 16), 2.375f);
    EXPECT_FLOAT_EQ(ShotSlicer::EngineThreshold(15.0f, 15), 2.375f);
    EXPECT_FLOAT_EQ(ShotSlicer::EngineThreshold(15.0f, 32), 15.0f);
    EXPECT_FLOAT_EQ(ShotSlicer::EngineThreshold(15.0f, 24), 15.0f);

    Surface surface(100, 80, PixelFormat::Rgb565());
    ShotSlicer slicer;
    slicer.StartEngine();
    auto frame = [&](int32_t number, uint16_t a, uint16_t b) {
        PaintRed565(surface, a, b);
        return slicer.ProcessFrame(surface, number, false).finishedShot;
    };
    EXPECT_FALSE(frame(0, 12, 12));
    EXPECT_FALSE(frame(1, 12, 12));
    EXPECT_FALSE(frame(2, 10, 14));                  // red spread 0 -> 2.0: not above 2.375
    EXPECT_FALSE(frame(3, 12, 12));                  // and back
    EXPECT_EQ(frame(4, 10, 15), (ShotRange{0, 3}));  // 0 -> 2.5: a cut
}

}  // namespace
}  // namespace trevanto

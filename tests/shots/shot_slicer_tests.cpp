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
    // Plays frames first..last (inclusive) and collects the shots.
    std::vector<ShotRange> Play(int32_t first, int32_t last, int contrast = 20) {
        std::vector<ShotRange> shots;
        for (int32_t frame = first; frame <= last; ++frame) {
            if (auto shot = Frame(frame, contrast))
                shots.push_back(*shot);
        }
        return shots;
    }

    Surface surface{100, 80};
    ShotSlicer slicer;
};

TEST_F(Slicing, EngineCutsWhereTheSpreadChanges) {
    slicer.StartEngine();
    EXPECT_TRUE(slicer.IsActive());
    EXPECT_EQ(slicer.Mode(), SlicingMode::Engine);
    const SliceStep first = slicer.ProcessFrame(surface, 0, false);
    EXPECT_TRUE(first.runStarted);
    EXPECT_FALSE(Frame(1, 20));
    EXPECT_FALSE(Frame(2, 20));
    const auto cut = Frame(3, 60);
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, (ShotRange{0, 2}));
    EXPECT_FALSE(Frame(4, 60));
    // A change of exactly the threshold (5 per channel, 15 in all) is no cut.
    EXPECT_FALSE(Frame(5, 65));
    EXPECT_EQ(*Frame(6, 71), (ShotRange{3, 5}));
}

TEST_F(Slicing, EngineForcedCloseEndsTheShotBeforeTheFrame) {
    slicer.StartEngine();
    EXPECT_TRUE(Play(10, 19).empty());
    EXPECT_EQ(*Frame(20, 20, true), (ShotRange{10, 19}));
    // Forcing at the frame just analysed closes the shot with that frame.
    slicer.StartEngine();
    EXPECT_TRUE(Play(30, 35).empty());
    EXPECT_EQ(*Frame(35, 20, true), (ShotRange{30, 35}));
}

TEST_F(Slicing, ForcedCloseAtTheRunsFirstFrameMakesNoShot) {
    slicer.StartEngine();
    EXPECT_FALSE(Frame(50, 20, true));
    slicer.StartSampler(1000, 0.04);
    EXPECT_FALSE(Frame(60, 20, true));
}

TEST_F(Slicing, SamplerCutsEveryStepWhateverThePicture) {
    slicer.StartSampler(1000, 0.04);  // every 40 frames by default
    EXPECT_EQ(slicer.Settings().stepFrames, 40);
    const auto shots = Play(0, 120);
    ASSERT_EQ(shots.size(), 3u);
    EXPECT_EQ(shots[0], (ShotRange{0, 39}));
    EXPECT_EQ(shots[1], (ShotRange{40, 79}));
    EXPECT_EQ(shots[2], (ShotRange{80, 119}));
}

TEST_F(Slicing, SamplerWithDroppedFramesEndsBeforeTheFirstFramePastTheStep) {
    slicer.StartSampler(1000, 0.04);
    EXPECT_FALSE(Frame(0));
    EXPECT_FALSE(Frame(38));
    EXPECT_EQ(*Frame(43), (ShotRange{0, 42}));
    EXPECT_EQ(slicer.Settings().samplerShotStart, 43);
}

TEST_F(Slicing, SamplerFollowsBackwardJumps) {
    slicer.StartSampler(1000, 0.04);
    EXPECT_FALSE(Frame(480));
    EXPECT_FALSE(Frame(500));
    EXPECT_EQ(*Frame(100), (ShotRange{100, 139}));
    EXPECT_EQ(slicer.Settings().samplerShotStart, 100);

    slicer.StartSampler(1000, 0.04);
    EXPECT_FALSE(Frame(480));
    EXPECT_FALSE(Frame(500));
    EXPECT_EQ(*Frame(470), (ShotRange{470, 480}));
}

TEST_F(Slicing, SamplerForcedCloseSpansFromItsLastCutToTheEnd) {
    slicer.StartSampler(1000, 0.04);
    const auto shots = Play(0, 99);
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(*Frame(100, 20, true), (ShotRange{80, 99}));
}

TEST_F(Slicing, SamplerWithStepZeroEndsAShotAtEveryFrame) {
    slicer.Settings().rateOption = 0;
    slicer.Settings().rateValue = 500.0f;
    slicer.StartSampler(100, 0.04);
    EXPECT_EQ(slicer.Settings().stepFrames, 0);
    const auto shots = Play(0, 3);
    ASSERT_EQ(shots.size(), 3u);  // the run's first frame closes nothing
    EXPECT_EQ(shots[0], (ShotRange{0, 0}));
    EXPECT_EQ(shots[2], (ShotRange{2, 2}));
}

TEST_F(Slicing, StopAndRestartBeginANewShot) {
    slicer.StartSampler(1000, 0.04);
    Play(0, 30);
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

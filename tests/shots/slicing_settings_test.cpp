#include "shots/slicing_settings.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

TEST(ComputeStep, EachOption) {
    const struct {
        int32_t option;
        float value;
        int32_t frames;
        double secondsPerFrame;
        int32_t step;
    } rows[] = {{2, 3.0f, 1000, 0.04, 75},    // one shot every 3 s at 25 fps
                {0, 40.0f, 1000, 0.04, 25},   // 40 shots over 1000 frames
                {0, 2000.0f, 1000, 0.04, 0},  // more shots than frames
                {0, 40.0f, 0, 0.04, 40},      // no frame count
                {1, 2.5f, 1000, 0.04, 12},    // 2.5 per second counts as 2
                {1, 0.5f, 1000, 0.04, 40},    // below one per second
                {1, 100.0f, 1000, 0.04, 40},  // under a frame: keep 40
                {2, 3.0f, 1000, 0.0, 40},     // no frame duration
                {3, 17.9f, 1000, 0.04, 17},   // frames
                {7, 17.0f, 1000, 0.04, 40},   // unknown option
                // Steps past 32 bits are held at 2^31 - 1 instead of cast.
                {2, 2.0e9f, 1000, 0.04, 2147483647},
                {3, 2147483647.0f, 1000, 0.04, 2147483647}};
    for (const auto& row : rows) {
        SlicingSettings settings;
        settings.rateOption = row.option;
        settings.rateValue = row.value;
        settings.ComputeStep(row.frames, row.secondsPerFrame);
        EXPECT_EQ(settings.stepFrames, row.step) << row.option << " " << row.value;
    }
}

TEST(SamplerValueProblem, TheSettingsDialogsRules) {
    const struct {
        int32_t option;
        double value;
        const char* problem;
    } rows[] = {{0, 1.0, ""},
                {0, 0.0, kNegativeValueMessage},
                {1, 0.5, kNegativeValueMessage},  // taken as 0 per second
                {2, 0.0, ""},                     // every 0 seconds is taken
                {2, -0.1, kNegativeValueMessage},
                {3, 2147483647.0, ""},
                {3, 2147483648.0, kValueTooLargeMessage},
                {2, 1e20, kValueTooLargeMessage}};
    for (const auto& row : rows) {
        EXPECT_EQ(SamplerValueProblem(row.option, row.value), row.problem)
            << "option " << row.option << ", value " << row.value;
    }
}

}  // namespace
}  // namespace trevanto

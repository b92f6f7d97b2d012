#include "shots/slicing_settings.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

int32_t Step(int32_t option, float value, int32_t frames, double secondsPerFrame) {
    SlicingSettings settings;
    settings.rateOption = option;
    settings.rateValue = value;
    settings.ComputeStep(frames, secondsPerFrame);
    return settings.stepFrames;
}

TEST(ComputeStep, EachOption) {
    EXPECT_EQ(Step(2, 3.0f, 1000, 0.04), 75);    // one shot every 3 s at 25 fps
    EXPECT_EQ(Step(0, 40.0f, 1000, 0.04), 25);   // 40 shots over 1000 frames
    EXPECT_EQ(Step(0, 2000.0f, 1000, 0.04), 0);  // more shots than frames
    EXPECT_EQ(Step(0, 40.0f, 0, 0.04), 40);      // no frame count
    EXPECT_EQ(Step(1, 2.5f, 1000, 0.04), 12);    // 2.5 per second counts as 2
    EXPECT_EQ(Step(1, 0.5f, 1000, 0.04), 40);    // below one per second
    EXPECT_EQ(Step(1, 100.0f, 1000, 0.04), 40);  // under a frame: keep 40
    EXPECT_EQ(Step(2, 3.0f, 1000, 0.0), 40);     // no frame duration
    EXPECT_EQ(Step(3, 17.9f, 1000, 0.04), 17);
    EXPECT_EQ(Step(7, 17.0f, 1000, 0.04), 40);  // unknown option
    // Steps past 32 bits are held at 2^31 - 1 instead of cast.
    EXPECT_EQ(Step(2, 2.0e9f, 1000, 0.04), 2147483647);
    EXPECT_EQ(Step(3, 2147483647.0f, 1000, 0.04), 2147483647);
}

TEST(SamplerValueProblem, TheSettingsDialogsRules) {
    struct Row {
        int32_t option;
        double value;
        const char* problem;
    };
    const Row rows[] = {
        {0, 1.0, ""},
        {0, 0.0, kNegativeValueMessage},
        {1, 0.5, kNegativeValueMessage},  // taken as 0 per second
        {1, 2.5, ""},
        {2, 0.0, ""},  // every 0 seconds is taken
        {2, -0.1, kNegativeValueMessage},
        {3, 2147483647.0, ""},
        {3, 2147483648.0, kValueTooLargeMessage},
        {3, 1e20, kValueTooLargeMessage},
        {2, 1e20, kValueTooLargeMessage},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SamplerValueProblem(row.option, row.value), row.problem)
            << "option " << row.option << ", value " << row.value;
    }
}

}  // namespace
}  // namespace trevanto

// The navigation slider's position as a frame: both ends of the slider reach
// the first and the last frame, whatever the length of the video.
#include <gtest/gtest.h>

#include "app/slider_scale.h"

namespace trevanto {
namespace {

TEST(FrameOfSliderPosition, BothEndsReachTheFirstAndTheLastFrame) {
    struct Row {
        int32_t frames;
        int32_t position;
        int32_t frame;
    };
    const Row rows[] = {
        {1, 0, 0},    {1, kSliderMax, 0},       {2, 0, 0},      {2, kSliderMax, 1},
        {1253, 0, 0}, {1253, kSliderMax, 1252}, {100000, 0, 0}, {100000, kSliderMax, 99999},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FrameOfSliderPosition(row.position, kSliderMax, row.frames), row.frame)
            << row.frames << " frames, position " << row.position;
    }
}

}  // namespace
}  // namespace trevanto

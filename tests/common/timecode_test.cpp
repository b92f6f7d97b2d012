#include "common/timecode.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

TEST(FormatTimecode, Examples) {
    EXPECT_EQ(FormatTimecode(0, 3000, 120.0, ':'), "00:00:00:0000");
    EXPECT_EQ(FormatTimecode(1500, 3000, 120.0, ':'), "00:01:00:0000");
    EXPECT_EQ(FormatTimecode(20, 4000, 100.0, ':'), "00:00:00:0500");
}

TEST(FormatTimecode, NoFramesGivesZeroWithTheSeparator) {
    EXPECT_EQ(FormatTimecode(10, 0, 120.0, '.'), "00:00:00.0000");
    EXPECT_EQ(FormatTimecode(10, 0, 120.0, ':'), "00:00:00:0000");
}

TEST(FormatTimecode, MillisecondsAreTruncatedNotRounded) {
    // 1 x 0.3 / 1 = 0.3 s; 0.299999... would read 0299.
    EXPECT_EQ(FormatTimecode(1, 10, 2.9999999, ':'), "00:00:00:0299");
    // 65.52 s comes out a hair below in floating point: the millisecond below.
    EXPECT_EQ(FormatTimecode(1638, 3000, 120.0, '.'), "00:01:05.0519");
    // 7 frames of 1/3 s: 2.333.. s reads 333 ms.
    EXPECT_EQ(FormatTimecode(7, 3, 1.0, ':'), "00:00:02:0333");
}

TEST(FormatTimecode, HoursAreNotLimitedToTwoDigits) {
    // Last frame of a 2 h 5 min video.
    const int32_t frames = 187500;
    const std::string last = FormatTimecode(frames, frames, 7500.0, ':');
    EXPECT_EQ(last, "02:05:00:0000");
    EXPECT_EQ(FormatTimecode(1, 1, 360000.0 + 61.5, ':'), "100:01:01:0500");
}

}  // namespace
}  // namespace trevanto

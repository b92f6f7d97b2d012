#include "common/timecode.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

TEST(FormatTimecode, Table) {
    const struct {
        int32_t frame, frames;
        double seconds;
        char separator;
        const char* text;
    } cases[] = {
        {0, 3000, 120.0, ':', "00:00:00:0000"},
        {1500, 3000, 120.0, ':', "00:01:00:0000"},
        {20, 4000, 100.0, ':', "00:00:00:0500"},
        {10, 0, 120.0, '.', "00:00:00.0000"},  // no frames: zero, with the separator
        // Milliseconds are truncated: 0.3 s, not 0.299999...
        {1, 10, 2.9999999, ':', "00:00:00:0299"},
        // 65.52 s comes out a hair below in floating point: the millisecond below.
        {1638, 3000, 120.0, '.', "00:01:05.0519"},
        {7, 3, 1.0, ':', "00:00:02:0333"},
        // Hours are not limited to two digits.
        {187500, 187500, 7500.0, ':', "02:05:00:0000"},
        {1, 1, 360000.0 + 61.5, ':', "100:01:01:0500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTimecode(c.frame, c.frames, c.seconds, c.separator), c.text) << c.frame;
}

}  // namespace
}  // namespace trevanto

#pragma once
// The ranges of the numeric publishing options, one rule for every front end
// (the wizard's steps and trevanto-cli): beyond them a publication would be
// unreadable (thousands of shots in a row, a page of gigabytes) or its images
// could not be made.
#include <cstdint>

namespace trevanto {

enum class BoundedOption { ShotsPerRow, EdgeWidth, PageKBytes, ShotWidth, ShotHeight };

struct OptionRange {
    int32_t lowest;
    int32_t highest;
};

// The largest side of a shot image in pixels (the image export's limit).
inline constexpr int32_t kMaxShotSide = 4096;

OptionRange RangeOf(BoundedOption option);

enum class RangeCheck { Within, TooSmall, TooLarge };
RangeCheck CheckRange(BoundedOption option, int64_t value);

}  // namespace trevanto

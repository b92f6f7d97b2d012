#include "publish/option_bounds.h"

namespace trevanto {

OptionRange RangeOf(BoundedOption option) {
    switch (option) {
        case BoundedOption::ShotsPerRow:
            return {1, 1000};
        case BoundedOption::EdgeWidth:
            return {0, 1000};
        case BoundedOption::PageKBytes:
            return {1, 1 << 20};
        case BoundedOption::ShotWidth:
        case BoundedOption::ShotHeight:
            break;
    }
    return {1, kMaxShotSide};
}

RangeCheck CheckRange(BoundedOption option, int64_t value) {
    const OptionRange range = RangeOf(option);
    if (value < range.lowest)
        return RangeCheck::TooSmall;
    return value > range.highest ? RangeCheck::TooLarge : RangeCheck::Within;
}

}  // namespace trevanto

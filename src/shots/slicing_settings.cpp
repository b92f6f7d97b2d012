#include "shots/slicing_settings.h"

#include <cmath>
#include <limits>

namespace trevanto {
namespace {

// Truncated toward zero and held within 32 bits: a float cast past them is
// undefined. Not a number gives 0.
int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

SamplerValueCheck CheckSamplerValue(int32_t rateOption, double value) {
    const double least = rateOption == static_cast<int32_t>(SamplerRate::EverySeconds) ? 0.0 : 1.0;
    if (value < least)
        return SamplerValueCheck::TooSmall;
    if (!(value <= static_cast<double>(std::numeric_limits<int32_t>::max())))
        return SamplerValueCheck::TooLarge;
    return SamplerValueCheck::Accepted;
}

void SlicingSettings::ComputeStep(int32_t frameCount, double secondsPerFrame) {
    stepFrames = 40;
    switch (static_cast<SamplerRate>(rateOption)) {
        case SamplerRate::ShotsOverall: {
            const int32_t n = TruncateToInt32(rateValue);
            // May become 0, which makes every processed frame end a shot.
            if (frameCount != 0 && n != 0)
                stepFrames = frameCount / n;
            break;
        }
        case SamplerRate::ShotsPerSecond: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t n = TruncateToInt32(rateValue);
            if (n < 1)
                break;
            const int32_t step = TruncateToInt32((1.0 / n) / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EverySeconds: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t step = TruncateToInt32(rateValue / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EveryFrames:
            stepFrames = TruncateToInt32(rateValue);
            break;
    }
}

}  // namespace trevanto

#include "shots/slicing_settings.h"

namespace trevanto {

void SlicingSettings::ComputeStep(int32_t frameCount, double secondsPerFrame) {
    stepFrames = 40;
    switch (static_cast<SamplerRate>(rateOption)) {
        case SamplerRate::ShotsOverall: {
            const int32_t n = static_cast<int32_t>(rateValue);
            // May become 0, which makes every processed frame end a shot.
            if (frameCount != 0 && n != 0)
                stepFrames = frameCount / n;
            break;
        }
        case SamplerRate::ShotsPerSecond: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t n = static_cast<int32_t>(rateValue);
            if (n < 1)
                break;
            const int32_t step = static_cast<int32_t>((1.0 / n) / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EverySeconds: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t step = static_cast<int32_t>(rateValue / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EveryFrames:
            stepFrames = static_cast<int32_t>(rateValue);
            break;
    }
}

}  // namespace trevanto

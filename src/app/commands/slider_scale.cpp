#include "app/commands/slider_scale.h"

#include <algorithm>

namespace trevanto {

int32_t SliderPositionOfFrame(int32_t frame, int32_t frameCount) {
    if (frameCount <= 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(frame) * kSliderMax / frameCount);
}

int32_t FrameOfSliderPosition(int32_t position, int32_t range, int32_t frameCount) {
    if (frameCount <= 0 || range <= 0 || position <= 0)
        return 0;
    const int64_t frame = int64_t{position} * frameCount / range;
    return static_cast<int32_t>(std::min<int64_t>(frame, frameCount - 1));
}

}  // namespace trevanto

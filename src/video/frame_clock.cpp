#include "video/frame_clock.h"

namespace trevanto {

double FrameToSeconds(int32_t frame, double secondsPerFrame) {
    return secondsPerFrame * frame;
}

int32_t SecondsToFrame(double seconds, double secondsPerFrame) {
    if (secondsPerFrame <= 0.0)
        return 0;
    return static_cast<int32_t>(seconds / secondsPerFrame + 0.5);
}

}  // namespace trevanto

#pragma once
// Conversions between frames and seconds.
#include <cstdint>

namespace trevanto {

// Seconds per frame used when the video reports no usable frame duration.
inline constexpr double kDefaultSecondsPerFrame = 0.04;

// seconds = frame x seconds per frame.
double FrameToSeconds(int32_t frame, double secondsPerFrame);
// frame = seconds / seconds per frame, halves rounded up.
int32_t SecondsToFrame(double seconds, double secondsPerFrame);

}  // namespace trevanto

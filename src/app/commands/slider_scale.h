#pragma once
// The navigation slider's scale: positions 0..32767 over the video's frames.
#include <cstdint>

namespace trevanto {

inline constexpr int32_t kSliderMax = 32767;

// Slider position of frame f of n frames: f x 32767 / n, computed in 64 bits
// so that long videos do not overflow. 0 when n is not positive.
int32_t SliderPositionOfFrame(int32_t frame, int32_t frameCount);
// The frame a slider position of 0..range stands for: position x n / range,
// truncated, and the last frame (n - 1) at the far right, where that product
// reaches n, a frame that never comes. 0 when n or the range is not positive.
int32_t FrameOfSliderPosition(int32_t position, int32_t range, int32_t frameCount);

}  // namespace trevanto

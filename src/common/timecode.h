#pragma once
// Timecode text "hh:mm:ss<sep>mmmm" of a frame, by the average frame length
// over the whole video (duration / frame count).
#include <cstdint>
#include <string>

namespace trevanto {

std::string FormatTimecode(int32_t frame, int32_t frameCount, double durationSeconds,
                           char separator);

}  // namespace trevanto

#pragma once
// Timecode text "hh:mm:ss<sep>mmmm" of a frame, by the average frame length
// over the whole video (duration / frame count); where the video's rate
// varies, by the frame's own time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trevanto {

// Each frame's own presentation time from frame 0's, for a video whose rate
// varies (the media layer reads it); null where the rate is constant.
using PictureTimes = std::shared_ptr<const std::vector<double>>;

// The seconds a frame's timecode shows: its own time when `times` holds
// it, else frame x durationSeconds / frameCount (0 when frameCount is 0).
double TimecodeSeconds(int32_t frame, int32_t frameCount, double durationSeconds,
                       const PictureTimes& times = nullptr);

std::string FormatTimecode(int32_t frame, int32_t frameCount, double durationSeconds,
                           char separator, const PictureTimes& times = nullptr);

}  // namespace trevanto

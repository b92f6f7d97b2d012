#include "common/timecode.h"

#include <cstdio>

namespace trevanto {

double TimecodeSeconds(int32_t frame, int32_t frameCount, double durationSeconds,
                       const PictureTimes& times) {
    if (frameCount == 0)
        return 0.0;
    // Past the last picture (the end of the video) the average still holds:
    // the duration is the pictures' span.
    if (times && frame >= 0 && static_cast<size_t>(frame) < times->size())
        return (*times)[static_cast<size_t>(frame)];
    return static_cast<double>(frame) * durationSeconds / static_cast<double>(frameCount);
}

std::string FormatTimecode(int32_t frame, int32_t frameCount, double durationSeconds,
                           char separator, const PictureTimes& times) {
    char text[64];
    if (frameCount == 0) {
        std::snprintf(text, sizeof text, "00:00:00%c0000", separator);
        return text;
    }
    const double t = TimecodeSeconds(frame, frameCount, durationSeconds, times);
    const long long whole = static_cast<long long>(t);
    const long long ms = static_cast<long long>((t - static_cast<double>(whole)) * 1000.0);
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%04lld", whole / 3600,
                  (whole % 3600) / 60, whole % 60, separator, ms);
    return text;
}

}  // namespace trevanto

#include "common/timecode.h"

#include <cstdio>

namespace trevanto {

std::string FormatTimecode(int32_t frame, int32_t frameCount, double durationSeconds,
                           char separator) {
    char text[64];
    if (frameCount == 0) {
        std::snprintf(text, sizeof text, "00:00:00%c0000", separator);
        return text;
    }
    const double t = static_cast<double>(frame) * durationSeconds / static_cast<double>(frameCount);
    const long long whole = static_cast<long long>(t);
    const long long ms = static_cast<long long>((t - static_cast<double>(whole)) * 1000.0);
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%04lld", whole / 3600,
                  (whole % 3600) / 60, whole % 60, separator, ms);
    return text;
}

}  // namespace trevanto

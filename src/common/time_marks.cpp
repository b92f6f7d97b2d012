#include "common/time_marks.h"

#include <algorithm>
#include <cmath>

#include "common/text_format.h"

namespace trevanto {

double TimeMarkStep(double durationSeconds, int width, int minSpacing) {
    if (!(durationSeconds > 0.0) || !std::isfinite(durationSeconds) || width <= 0)
        return 0.0;
    static constexpr double kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                        600, 900, 1800, 3600, 7200, 18000, 36000, 86400};
    for (const double step : kSteps) {
        if (step >= durationSeconds)
            return 0.0;  // a label at 0 alone says nothing
        if (step / durationSeconds * width >= minSpacing)
            return step;
    }
    return 0.0;
}

std::string TimeMarkText(double seconds) {
    const long whole = std::lround(std::max(seconds, 0.0));
    const long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    if (hours > 0)
        return FormatText("%ld:%02ld:%02ld", hours, minutes, rest);
    return FormatText("%ld:%02ld", minutes, rest);
}

}  // namespace trevanto

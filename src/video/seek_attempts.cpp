#include "video/seek_attempts.h"

namespace trevanto {

std::vector<SeekAttempt> SeekAttempts(double targetSeconds, double frameSeconds) {
    // Timestamp seeking in program streams is imprecise: a stream may land
    // past the target, so each retry starts further back.
    const double stepsBack[] = {1.0, 3.0, 8.0, 30.0};
    std::vector<SeekAttempt> attempts{{targetSeconds + 0.25 * frameSeconds, false}};
    for (const double step : stepsBack) {
        if (targetSeconds - step > 0.0)
            attempts.push_back({targetSeconds - step, false});
    }
    attempts.push_back({0.0, false});
    attempts.push_back({0.0, true});
    return attempts;
}

}  // namespace trevanto

#pragma once

#include <vector>

namespace trevanto {

// One place a seek to a frame tries: a time of the stream, or its first byte.
struct SeekAttempt {
    double seconds = 0.0;
    bool byBytes = false;
    bool operator==(const SeekAttempt&) const = default;
};

// The places tried in turn to reach the frame shown at targetSeconds: just
// past it (a key frame at the target is found), then further and further
// back, then the start by time, at last the start by bytes. Steps back that
// would fall before the start are left out; the start is tried anyway.
std::vector<SeekAttempt> SeekAttempts(double targetSeconds, double frameSeconds);

}  // namespace trevanto

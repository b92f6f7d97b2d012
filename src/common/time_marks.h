#pragma once
// The labels of a time axis (the navigation slider, the change-score graph):
// a round step in seconds that keeps neighbouring labels apart, and the
// short text of a time.
#include <string>

namespace trevanto {

// The smallest of 1, 2, 5, 10, 15, 30 seconds, 1, 2, 5, 10, 15, 30 minutes,
// 1, 2, 5, 10 hours... that puts labels at least `minSpacing` pixels apart on
// an axis of `width` pixels for `durationSeconds`; 0 when there is no length
// or no room for two labels.
double TimeMarkStep(double durationSeconds, int width, int minSpacing);
// "0:05", "12:30", "1:02:03": whole seconds.
std::string TimeMarkText(double seconds);

}  // namespace trevanto

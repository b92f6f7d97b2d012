#pragma once
// The user's slicing choices (edited in the Settings dialog, never stored) and
// the sampler's running values.
#include <cstdint>
#include <string>

namespace trevanto {

enum class SamplerRate : int32_t {
    ShotsOverall = 0,    // N shots over the whole video
    ShotsPerSecond = 1,  // N shots per second (N taken as a whole number)
    EverySeconds = 2,    // one shot every N seconds
    EveryFrames = 3,     // one shot every N frames
};

struct SlicingSettings {
    int32_t rateOption = 3;
    float rateValue = 40.0f;
    int32_t stepFrames = 40;
    int32_t samplerShotStart = 0;
    float threshold = 15.0f;

    // Sets stepFrames from the rate option and value.
    void ComputeStep(int32_t frameCount, double secondsPerFrame);
};

enum class SamplerValueCheck { Accepted, TooSmall, TooLarge };

// Whether a sampler value can be taken for the rate option. N shots overall,
// N shots per second and one shot every N frames need 1 or more (their N is a
// whole number); one shot every N seconds takes 0 or more. Nothing past the
// 32-bit range is taken. The Settings dialog and trevanto-cli both apply it.
SamplerValueCheck CheckSamplerValue(int32_t rateOption, double value);

}  // namespace trevanto

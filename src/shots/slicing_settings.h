#pragma once
// The user's slicing choices (edited in the Settings dialog, never stored) and
// the sampler's running values.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevanto {

enum class SamplerRate : int32_t {
    ShotsOverall = 0,    // N shots over the whole video
    ShotsPerSecond = 1,  // N shots per second (N taken as a whole number)
    EverySeconds = 2,    // one shot every N seconds
    EveryFrames = 3,     // one shot every N frames
};

// The shot engine's detector: the change of the channels' spread (the
// classic rule, at `threshold`) or the content detector (content_rule.h, at
// `sensitivity`).
enum class ShotDetector : int32_t { Spread = 0, Content = 1 };

inline constexpr float kDefaultSensitivity = 50.0f;

struct SlicingSettings {
    int32_t rateOption = 3;
    float rateValue = 40.0f;
    int32_t stepFrames = 40;
    int32_t samplerShotStart = 0;
    float threshold = 15.0f;
    // Workers that decode a run's segments side by side, 1 to kMaxJobs
    // (fewer where their memory would not fit); the shots are the same.
    int32_t jobs = 1;
    static constexpr int32_t kMaxJobs = 256;
    ShotDetector detector = ShotDetector::Spread;
    float sensitivity = kDefaultSensitivity;

    // The threshold a detector's scores are cut at, on the scale of its
    // scores (what the score graph draws); setting it sets `threshold` or the
    // sensitivity that gives it. ActiveThreshold: the chosen detector's.
    float ThresholdOf(ShotDetector scoresOf) const;
    void SetThresholdOf(ShotDetector scoresOf, float value);
    float ActiveThreshold() const { return ThresholdOf(detector); }

    // Sets stepFrames from the rate option and value.
    void ComputeStep(int32_t frameCount, double secondsPerFrame);
};

enum class SamplerValueCheck { Accepted, Empty, TooSmall, TooLarge };

// Whether a sampler value can be taken for the rate option. N shots overall,
// N shots per second and one shot every N frames need 1 or more (their N is a
// whole number); one shot every N seconds takes 0 or more. Nothing past the
// 32-bit range is taken.
SamplerValueCheck CheckSamplerValue(int32_t rateOption, double value);

struct SamplerValueReading {
    SamplerValueCheck check = SamplerValueCheck::Empty;
    float value = 0.0f;  // what is taken when accepted
};

// A sampler value as typed for the rate option, checked: the leading whole
// number of the text for the options of a whole N ("2.5" and "2x" give 2),
// the leading decimal number for one shot every N seconds. The Settings
// dialog and trevanto-cli both take their values through it.
SamplerValueReading ReadSamplerValue(int32_t rateOption, std::string_view text);
// The text a rate value is shown as: "%d" of its whole part, "%.1f" for one
// shot every N seconds.
std::string SamplerValueText(int32_t rateOption, float value);

// A typed engine threshold, when it can be taken: a finite number above 0.
// Otherwise the threshold in force stays.
std::optional<float> ReadThreshold(std::string_view text);
// "%d" of the threshold's whole part.
std::string ThresholdText(float threshold);

// The content detector's sensitivity: more finds more cuts. A typed one is
// taken when it is a number above 0 and below 100.
std::optional<float> ReadSensitivity(std::string_view text);
// The content detector's least score for a cut at a sensitivity, and back.
float ContentFloor(float sensitivity);
float SensitivityOfFloor(float floor);

// "spread" and "content": how trevanto-cli, the settings and the statistics
// files name the detectors.
const char* DetectorName(ShotDetector detector);
std::optional<ShotDetector> DetectorNamed(std::string_view name);

}  // namespace trevanto

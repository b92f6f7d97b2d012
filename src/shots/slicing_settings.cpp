#include "shots/slicing_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "common/text_numbers.h"

namespace trevanto {
namespace {

// Truncated toward zero and held within 32 bits: a float cast past them is
// undefined. Not a number gives 0.
int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

SamplerValueCheck CheckSamplerValue(int32_t rateOption, double value) {
    const double least = rateOption == static_cast<int32_t>(SamplerRate::EverySeconds) ? 0.0 : 1.0;
    if (value < least)
        return SamplerValueCheck::TooSmall;
    if (!(value <= static_cast<double>(std::numeric_limits<int32_t>::max())))
        return SamplerValueCheck::TooLarge;
    return SamplerValueCheck::Accepted;
}

SamplerValueReading ReadSamplerValue(int32_t rateOption, std::string_view text) {
    if (text.empty())
        return {SamplerValueCheck::Empty, 0.0f};
    const double value = rateOption == static_cast<int32_t>(SamplerRate::EverySeconds)
                             ? ReadLeadingDecimal(text)
                             : static_cast<double>(ReadLeadingInteger(text));
    const SamplerValueCheck check = CheckSamplerValue(rateOption, value);
    return {check, check == SamplerValueCheck::Accepted ? static_cast<float>(value) : 0.0f};
}

std::string SamplerValueText(int32_t rateOption, float value) {
    if (rateOption != static_cast<int32_t>(SamplerRate::EverySeconds))
        return std::to_string(TruncateToInt32(value));
    // Not printf: the point must not follow the user's locale.
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                       std::chars_format::fixed, 1);
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string("0.0");
}

std::optional<float> ReadThreshold(std::string_view text) {
    const auto threshold = static_cast<float>(ReadLeadingDecimal(text));
    if (!std::isfinite(threshold) || !(threshold > 0.0f))
        return std::nullopt;
    return threshold;
}

std::string ThresholdText(float threshold) {
    return std::to_string(TruncateToInt32(threshold));
}

std::optional<float> ReadSensitivity(std::string_view text) {
    const auto sensitivity = static_cast<float>(ReadLeadingDecimal(text));
    if (!std::isfinite(sensitivity) || !(sensitivity > 0.0f) || !(sensitivity < 100.0f))
        return std::nullopt;
    return sensitivity;
}

// Content scores run from 0 to 100; a cut between two shots of nothing
// alike scores about 50, a steady shot's frames below 10. Sensitivity 50
// asks at least 20.
float ContentFloor(float sensitivity) {
    return 0.4f * (100.0f - sensitivity);
}

float SensitivityOfFloor(float floor) {
    return std::clamp(100.0f - floor / 0.4f, 0.5f, 99.5f);
}

const char* DetectorName(ShotDetector detector) {
    return detector == ShotDetector::Content ? "content" : "spread";
}

std::optional<ShotDetector> DetectorNamed(std::string_view name) {
    if (name == "spread")
        return ShotDetector::Spread;
    if (name == "content")
        return ShotDetector::Content;
    return std::nullopt;
}

float SlicingSettings::ThresholdOf(ShotDetector scoresOf) const {
    return scoresOf == ShotDetector::Content ? ContentFloor(sensitivity) : threshold;
}

void SlicingSettings::SetThresholdOf(ShotDetector scoresOf, float value) {
    if (scoresOf == ShotDetector::Content)
        sensitivity = SensitivityOfFloor(value);
    else
        threshold = value;
}

void SlicingSettings::ComputeStep(int32_t frameCount, double secondsPerFrame) {
    stepFrames = 40;
    switch (static_cast<SamplerRate>(rateOption)) {
        case SamplerRate::ShotsOverall: {
            const int32_t n = TruncateToInt32(rateValue);
            // May become 0, which makes every processed frame end a shot.
            if (frameCount != 0 && n != 0)
                stepFrames = frameCount / n;
            break;
        }
        case SamplerRate::ShotsPerSecond: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t n = TruncateToInt32(rateValue);
            if (n < 1)
                break;
            const int32_t step = TruncateToInt32((1.0 / n) / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EverySeconds: {
            if (secondsPerFrame <= 0.00001)
                break;
            const int32_t step = TruncateToInt32(rateValue / secondsPerFrame);
            if (step >= 1)
                stepFrames = step;
            break;
        }
        case SamplerRate::EveryFrames:
            stepFrames = TruncateToInt32(rateValue);
            break;
    }
}

}  // namespace trevanto

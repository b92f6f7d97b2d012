#include "video/tone_map.h"

#include <algorithm>
#include <cmath>

namespace trevanto {
namespace {

// SMPTE ST 2084.
constexpr double kM1 = 2610.0 / 16384.0;
constexpr double kM2 = 2523.0 / 4096.0 * 128.0;
constexpr double kC1 = 3424.0 / 4096.0;
constexpr double kC2 = 2413.0 / 4096.0 * 32.0;
constexpr double kC3 = 2392.0 / 4096.0 * 32.0;
constexpr double kPqPeakNits = 10000.0;

constexpr double kReferenceWhiteNits = 203.0;
// PQ mastering peak assumed for HDR10: what nearly all of it is graded for.
constexpr double kPqMasteringNits = 1000.0;
constexpr double kHlgDisplayNits = 1000.0;

// Linear BT.2020 to linear BT.709 (BT.2087), and the same primaries.
constexpr float kToBt709[2][3][3] = {
    {{1.6605f, -0.5876f, -0.0728f}, {-0.1246f, 1.1329f, -0.0083f}, {-0.0182f, -0.1006f, 1.1187f}},
    {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}};

}  // namespace

double PqToNits(double signal) {
    const double e = std::pow(std::clamp(signal, 0.0, 1.0), 1.0 / kM2);
    return kPqPeakNits * std::pow(std::max(e - kC1, 0.0) / (kC2 - kC3 * e), 1.0 / kM1);
}

double NitsToPq(double nits) {
    const double y = std::pow(std::clamp(nits / kPqPeakNits, 0.0, 1.0), kM1);
    return std::pow((kC1 + kC2 * y) / (1.0 + kC3 * y), kM2);
}

double HlgToNits(double signal) {
    constexpr double a = 0.17883277, b = 0.28466892, c = 0.55991073;
    const double e = std::clamp(signal, 0.0, 1.0);
    const double scene = e <= 0.5 ? e * e / 3.0 : (std::exp((e - c) / a) + b) / 12.0;
    return kHlgDisplayNits * std::pow(scene, 1.2);
}

double ToneMapNits(double nits, double peakNits) {
    // BT.2390's EETF on the PQ signal scaled to the mastering range: below
    // the knee the light stays as it is, above it a Hermite spline bends the
    // rest of the range into what is left up to the target's peak.
    const double sourcePeak = NitsToPq(peakNits);
    const double targetPeak = NitsToPq(kReferenceWhiteNits) / sourcePeak;
    const double e1 = std::min(NitsToPq(nits) / sourcePeak, 1.0);
    double e2 = e1;
    if (targetPeak < 1.0) {
        const double knee = 1.5 * targetPeak - 0.5;
        if (e1 > knee) {
            const double t = (e1 - knee) / (1.0 - knee), t2 = t * t, t3 = t2 * t;
            e2 = (2 * t3 - 3 * t2 + 1) * knee + (t3 - 2 * t2 + t) * (1.0 - knee) +
                 (-2 * t3 + 3 * t2) * targetPeak;
        }
    }
    return std::min(PqToNits(e2 * sourcePeak) / kReferenceWhiteNits, 1.0);
}

ToneMapper::ToneMapper(Transfer transfer, bool wideGamut)
    : transfer_(transfer), wideGamut_(wideGamut), light_(kSignalSteps), encode_(kRootSteps + 1) {
    const double peak = transfer == Transfer::Hlg ? kHlgDisplayNits : kPqMasteringNits;
    for (int i = 0; i < kSignalSteps; ++i) {
        const double signal = (i + 0.5) / kSignalSteps;
        const double nits = transfer == Transfer::Hlg ? HlgToNits(signal) : PqToNits(signal);
        light_[i] = static_cast<float>(ToneMapNits(i == 0 ? 0.0 : nits, peak));
    }
    // Indexed by the square root of the light: fine steps near black, where
    // the gamma curve is steep.
    for (int i = 0; i <= kRootSteps; ++i) {
        const double root = static_cast<double>(i) / kRootSteps;
        encode_[i] = static_cast<uint8_t>(std::lround(255.0 * std::pow(root * root, 1.0 / 2.4)));
    }
}

void ToneMapper::MapRow(const uint16_t* rgb, uint32_t* out, int width) const {
    const auto& matrix = kToBt709[wideGamut_ ? 0 : 1];
    for (int x = 0; x < width; ++x, rgb += 3) {
        const float in[3] = {light_[rgb[0] >> 4], light_[rgb[1] >> 4], light_[rgb[2] >> 4]};
        uint32_t word = 0xFF000000u;
        for (int channel = 0; channel < 3; ++channel) {
            const float* m = matrix[channel];
            const float light = std::clamp(m[0] * in[0] + m[1] * in[1] + m[2] * in[2], 0.0f, 1.0f);
            const auto index = static_cast<int>(std::sqrt(light) * kRootSteps + 0.5f);
            word |= uint32_t{encode_[index]} << (16 - 8 * channel);
        }
        out[x] = word;
    }
}

}  // namespace trevanto

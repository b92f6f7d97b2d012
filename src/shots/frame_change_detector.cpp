#include "shots/frame_change_detector.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace trevanto {
namespace {

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
};

Channel MakeChannel(uint32_t mask) {
    // A mask of 0 has no trailing-zero count; the channel then reads as 0.
    return {mask, mask == 0 ? 0 : std::countr_zero(mask)};
}

struct ChannelValues {
    int32_t red, green, blue;
};

template <int BytesPerPixel>
inline ChannelValues ReadPixel(const uint8_t* p, const Channel& r, const Channel& g,
                               const Channel& b) {
    if constexpr (BytesPerPixel == 3) {
        return {p[2], p[1], p[0]};
    } else {
        uint32_t word;
        if constexpr (BytesPerPixel == 2) {
            uint16_t half;
            std::memcpy(&half, p, 2);
            word = half;
        } else {
            std::memcpy(&word, p, 4);
        }
        return {static_cast<int32_t>((word & r.mask) >> r.shift),
                static_cast<int32_t>((word & g.mask) >> g.shift),
                static_cast<int32_t>((word & b.mask) >> b.shift)};
    }
}

template <int BytesPerPixel>
ChannelSpreads Measure(const FramePixels& pixels, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const uint32_t maskLimit = BytesPerPixel == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    const Channel red = MakeChannel(pixels.redMask & maskLimit);
    const Channel green = MakeChannel(pixels.greenMask & maskLimit);
    const Channel blue = MakeChannel(pixels.blueMask & maskLimit);

    // Rows start at a whole pixel: a 24-bit row whose byte offset is not a
    // multiple of 3 starts at the multiple of 3 below it.
    const auto rowStart = [&](int32_t y) {
        const int64_t offset = static_cast<int64_t>(y) * pixels.pitch;
        return pixels.bits + (offset / BytesPerPixel) * BytesPerPixel +
               static_cast<int64_t>(x0) * BytesPerPixel;
    };

    int32_t sumRed = 0, sumGreen = 0, sumBlue = 0;
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* p = rowStart(y);
        for (int32_t x = x0; x < x1; ++x, p += BytesPerPixel) {
            const ChannelValues v = ReadPixel<BytesPerPixel>(p, red, green, blue);
            sumRed += v.red;
            sumGreen += v.green;
            sumBlue += v.blue;
        }
    }
    const int32_t count = (x1 - x0) * (y1 - y0);
    const int32_t meanRed = sumRed / count, meanGreen = sumGreen / count,
                  meanBlue = sumBlue / count;

    int32_t spreadRed = 0, spreadGreen = 0, spreadBlue = 0;
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* p = rowStart(y);
        for (int32_t x = x0; x < x1; ++x, p += BytesPerPixel) {
            const ChannelValues v = ReadPixel<BytesPerPixel>(p, red, green, blue);
            spreadRed += std::abs(v.red - meanRed);
            spreadGreen += std::abs(v.green - meanGreen);
            spreadBlue += std::abs(v.blue - meanBlue);
        }
    }
    return {static_cast<float>(static_cast<double>(spreadRed) / count),
            static_cast<float>(static_cast<double>(spreadGreen) / count),
            static_cast<float>(static_cast<double>(spreadBlue) / count)};
}

}  // namespace

std::optional<ChannelSpreads> MeasureSpreads(const FramePixels& pixels, int32_t left, int32_t top,
                                             int32_t right, int32_t bottom) {
    if (pixels.bits == nullptr || top >= pixels.height || left >= pixels.width)
        return std::nullopt;
    const int32_t x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int32_t x1 = std::min(right, pixels.width), y1 = std::min(bottom, pixels.height);
    if (x1 <= x0 || y1 <= y0)
        return std::nullopt;
    switch (pixels.bitsPerPixel) {
        case 16:
            return Measure<2>(pixels, x0, y0, x1, y1);
        case 24:
            return Measure<3>(pixels, x0, y0, x1, y1);
        case 32:
            return Measure<4>(pixels, x0, y0, x1, y1);
        default:
            return std::nullopt;
    }
}

float SpreadChange(const ChannelSpreads& now, const ChannelSpreads& before) {
    float change = std::fabs(static_cast<float>(now[2] - before[2]));
    change += std::fabs(static_cast<float>(now[1] - before[1]));
    change += std::fabs(static_cast<float>(now[0] - before[0]));
    return change;
}

void FrameChangeDetector::AnalyseFrame(const FramePixels& pixels, int32_t left, int32_t top,
                                       int32_t right, int32_t bottom, int32_t frame,
                                       const DetectorInput& input, DetectorResult* result) {
    AnalyseMeasured({pixels.bitsPerPixel, left, top, right, bottom,
                     MeasureSpreads(pixels, left, top, right, bottom), std::nullopt},
                    frame, input, result);
}

void FrameChangeDetector::AnalyseMeasured(const MeasuredFrame& measured, int32_t frame,
                                          const DetectorInput& input, DetectorResult* result) {
    if (result)
        *result = DetectorResult{};
    switch (measured.bitsPerPixel) {
        case 16:
            Apply(depth16_, measured, frame, input, result);
            break;
        case 24:
            Apply(depth24_, measured, frame, input, result);
            break;
        case 32:
            Apply(depth32_, measured, frame, input, result);
            break;
        default:
            break;
    }
}

void FrameChangeDetector::Apply(DepthState& state, const MeasuredFrame& measured, int32_t frame,
                                const DetectorInput& input, DetectorResult* result) {
    if (result && input.role == FrameRole::StartsRun)
        state.resetPending = true;
    if (state.resetPending) {
        state.resetPending = false;
        state.shotStart = frame;
    }
    const int32_t left = measured.left, top = measured.top;
    const int32_t right = measured.right, bottom = measured.bottom;
    if (frame == state.prevFrame && left == state.prevLeft && right == state.prevRight &&
        top == state.prevTop && bottom == state.prevBottom)
        return;  // this frame was already analysed
    if (!measured.spreads || result == nullptr)
        return;

    const ChannelSpreads& deviation = *measured.spreads;
    const float change = SpreadChange(deviation, state.prevDeviation);
    result->change = change;
    result->verdict = DetectorVerdict::NoCut;
    const bool cut =
        state.prevFrame < frame && frame > state.shotStart + 1 && change > input.threshold;
    if (cut || input.role == FrameRole::EndsShot) {
        result->verdict = DetectorVerdict::ShotEnded;
        result->cutNumber = state.cutCounter++;
        result->cutStart = state.shotStart;
        result->cutEnd = frame - 1;
        state.shotStart = frame;
    }
    result->deviation = {static_cast<uint8_t>(static_cast<int32_t>(deviation[0]) & 0xFF),
                         static_cast<uint8_t>(static_cast<int32_t>(deviation[1]) & 0xFF),
                         static_cast<uint8_t>(static_cast<int32_t>(deviation[2]) & 0xFF)};
    if (state.prevFrame > frame)
        state.shotStart = frame;  // the video jumped back

    state.prevDeviation = deviation;
    state.prevFrame = frame;
    state.prevLeft = left;
    state.prevRight = right;
    state.prevTop = top;
    state.prevBottom = bottom;
}

}  // namespace trevanto

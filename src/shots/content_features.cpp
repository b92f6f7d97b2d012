#include "shots/content_features.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "shots/frame_change_detector.h"

namespace trevanto {
namespace {

// Below this mean brightness, with little contrast, a picture is black:
// the dark end of a fade, not a dim shot.
constexpr float kBlackLuma = 24.0f;
constexpr float kBlackSpread = 8.0f;
// A layout with less contrast than this (on 0..255) is too flat for its
// correlation to mean much: grain on a wall, a black frame.
constexpr float kLayoutContrast = 4.0f;
// A new layout moves this much brightness (on 0..255, the mean over the
// blocks) at the least: where all a picture's contrast lies in a small part
// of it (a counter or a caption on a plain background), that part changing
// alone is no new shot.
constexpr float kLayoutShift = 8.0f;

int Shift(uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

float HistogramDistance(const float* a, const float* b, int bins) {
    float sum = 0.0f;
    for (int i = 0; i < bins; ++i)
        sum += std::fabs(a[i] - b[i]);
    return 0.5f * sum;  // 0..1
}

}  // namespace

std::optional<ContentFeatures> MeasureContent(const FramePixels& pixels) {
    if (pixels.bits == nullptr || pixels.width <= 0 || pixels.height <= 0 ||
        (pixels.bitsPerPixel != 32 && pixels.bitsPerPixel != 24))
        return std::nullopt;
    const int bytes = pixels.bitsPerPixel / 8;
    const int redShift = Shift(pixels.redMask), greenShift = Shift(pixels.greenMask),
              blueShift = Shift(pixels.blueMask);
    constexpr int kCells = kContentGridColumns * kContentGridRows;
    std::array<int32_t, kCells> cellSum{};
    std::array<int32_t, kCells> cellCount{};
    std::array<int32_t, kContentLumaBins> luma{};
    std::array<int32_t, kContentColourBins> colour{};
    int64_t lumaSum = 0;
    for (int y = 0; y < pixels.height; ++y) {
        const uint8_t* p = pixels.bits + static_cast<int64_t>(y) * pixels.pitch;
        int32_t* rowCells =
            cellSum.data() + (y * kContentGridRows / pixels.height) * kContentGridColumns;
        int32_t* rowCounts =
            cellCount.data() + (y * kContentGridRows / pixels.height) * kContentGridColumns;
        // The block column moves on where x x columns passes the next multiple of the width.
        int column = 0;
        int nextEdge = pixels.width;
        for (int x = 0; x < pixels.width; ++x, p += bytes) {
            if (x * kContentGridColumns >= nextEdge) {
                ++column;
                nextEdge += pixels.width;
            }
            uint32_t word = 0;
            if (bytes == 4)
                std::memcpy(&word, p, 4);
            else
                std::memcpy(&word, p, 3);
            const int r = static_cast<int>((word & pixels.redMask) >> redShift) & 0xFF;
            const int g = static_cast<int>((word & pixels.greenMask) >> greenShift) & 0xFF;
            const int b = static_cast<int>((word & pixels.blueMask) >> blueShift) & 0xFF;
            const int l = (77 * r + 150 * g + 29 * b) >> 8;  // BT.601 weights
            rowCells[column] += l;
            ++rowCounts[column];
            ++luma[l >> 3];
            ++colour[((r >> 6) << 4) | ((g >> 6) << 2) | (b >> 6)];
            lumaSum += l;
        }
    }
    ContentFeatures features;
    const float count = static_cast<float>(pixels.width) * static_cast<float>(pixels.height);
    for (int i = 0; i < kContentLumaBins; ++i)
        features.luma[i] = static_cast<float>(luma[i]) / count;
    for (int i = 0; i < kContentColourBins; ++i)
        features.colour[i] = static_cast<float>(colour[i]) / count;
    features.meanLuma = static_cast<float>(lumaSum) / count;
    double mean = 0.0;
    for (int i = 0; i < kCells; ++i) {
        features.layout[i] =
            cellCount[i] ? static_cast<float>(cellSum[i]) / static_cast<float>(cellCount[i]) : 0.0f;
        mean += features.layout[i];
    }
    mean /= kCells;
    double variance = 0.0;
    for (float& cell : features.layout) {
        cell -= static_cast<float>(mean);  // kept centred for the correlation
        variance += static_cast<double>(cell) * cell;
    }
    features.layoutSpread = static_cast<float>(std::sqrt(variance / kCells));
    features.black = features.meanLuma < kBlackLuma && features.layoutSpread < kBlackSpread;
    return features;
}

float ContentDistance(const ContentFeatures& a, const ContentFeatures& b) {
    float cross = 0.0f;
    for (size_t i = 0; i < a.layout.size(); ++i)
        cross += a.layout[i] * b.layout[i];
    const float norm = a.layoutSpread * b.layoutSpread * static_cast<float>(a.layout.size());
    const float correlation = norm > 0.0f ? cross / norm : 1.0f;
    float shift = 0.0f;
    const float meanShift = a.meanLuma - b.meanLuma;
    for (size_t i = 0; i < a.layout.size(); ++i)
        shift += std::fabs(a.layout[i] - b.layout[i] + meanShift);
    shift /= static_cast<float>(a.layout.size());
    const float confidence =
        std::min(1.0f, std::min(a.layoutSpread, b.layoutSpread) / kLayoutContrast) *
        std::min(1.0f, shift / kLayoutShift);
    const float layout = std::clamp(1.0f - correlation, 0.0f, 1.0f) * confidence;
    const float histograms =
        0.5f * (HistogramDistance(a.luma.data(), b.luma.data(), kContentLumaBins) +
                HistogramDistance(a.colour.data(), b.colour.data(), kContentColourBins));
    return 50.0f * layout + 50.0f * histograms;
}

}  // namespace trevanto

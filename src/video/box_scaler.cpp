#include "video/box_scaler.h"

#include <algorithm>
#include <cstring>

namespace trevanto {
namespace {

constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;

// Four words at once (eight pixels), in vector registers.
using Words4 = uint64_t __attribute__((vector_size(32)));

// Sums each column of the box row's lines: two pixels per word, each
// channel in its own 16-bit lane.
void SumColumns(const uint8_t* const* lines, int height, size_t fullPairs, size_t pairs,
                uint64_t* blueRed, uint64_t* greenRest) {
    size_t p = 0;
    const Words4 evenBytes4 = {kEvenBytes, kEvenBytes, kEvenBytes, kEvenBytes};
    for (; p + 4 <= fullPairs; p += 4) {
        Words4 evenSum = {0, 0, 0, 0};
        Words4 oddSum = {0, 0, 0, 0};
        for (int y = 0; y < height; ++y) {
            Words4 eight;
            std::memcpy(&eight, lines[y] + p * 8, 32);
            evenSum += eight & evenBytes4;
            oddSum += (eight >> 8) & evenBytes4;
        }
        for (size_t k = 0; k < 4; ++k) {
            blueRed[p + k] = evenSum[k];
            greenRest[p + k] = oddSum[k];
        }
    }
    for (; p < fullPairs; ++p) {
        uint64_t evenSum = 0;
        uint64_t oddSum = 0;
        for (int y = 0; y < height; ++y) {
            uint64_t two;
            std::memcpy(&two, lines[y] + p * 8, 8);
            evenSum += two & kEvenBytes;
            oddSum += (two >> 8) & kEvenBytes;
        }
        blueRed[p] = evenSum;
        greenRest[p] = oddSum;
    }
    if (fullPairs < pairs) {  // odd width: the last pixel alone
        uint64_t evenSum = 0;
        uint64_t oddSum = 0;
        for (int y = 0; y < height; ++y) {
            uint32_t one;
            std::memcpy(&one, lines[y] + fullPairs * 8, 4);
            evenSum += one & kEvenBytes;
            oddSum += (one >> 8) & kEvenBytes;
        }
        blueRed[fullPairs] = evenSum;
        greenRest[fullPairs] = oddSum;
    }
}

}  // namespace

std::vector<BoxScaler::Span> BoxScaler::Spans(int sourceSize, int destinationStart,
                                              int destinationSize, int clippedBegin,
                                              int clippedEnd) {
    // The same arithmetic as Surface::StretchFrom, so the boxes match it.
    const double scale = static_cast<double>(sourceSize) / destinationSize;
    std::vector<Span> spans;
    for (int d = clippedBegin; d < clippedEnd; ++d) {
        const double s0 = (d - destinationStart) * scale;
        const double s1 = s0 + scale;
        int begin = static_cast<int>(s0);
        int end = std::max(begin + 1, static_cast<int>(s1 + 0.999999));
        end = std::min(end, sourceSize);
        begin = std::min(begin, sourceSize - 1);
        spans.push_back({begin, end});
    }
    return spans;
}

void BoxScaler::PrepareTables(const Surface& source, const Rect& destination, const Rect& clipped) {
    const bool same =
        source.Width() == sourceWidth_ && source.Height() == sourceHeight_ &&
        destination.left == destination_.left && destination.top == destination_.top &&
        destination.right == destination_.right && destination.bottom == destination_.bottom &&
        clipped.left == clipped_.left && clipped.top == clipped_.top &&
        clipped.right == clipped_.right && clipped.bottom == clipped_.bottom;
    if (same)
        return;
    sourceWidth_ = source.Width();
    sourceHeight_ = source.Height();
    destination_ = destination;
    clipped_ = clipped;
    columns_ =
        Spans(source.Width(), destination.left, destination.Width(), clipped.left, clipped.right);
    rows_ =
        Spans(source.Height(), destination.top, destination.Height(), clipped.top, clipped.bottom);
    const size_t pairs = (static_cast<size_t>(source.Width()) + 1) / 2;
    blueRed_.assign(pairs, 0);
    greenRest_.assign(pairs, 0);
    lanesHold_ = std::all_of(rows_.begin(), rows_.end(),
                             [](const Span& rows) { return rows.end - rows.begin <= kMaxRows; });
}

bool BoxScaler::Scale(const Surface& source, Surface& target, Rect destination) {
    if (!source.Format().IsRgb32() || !target.Format().IsRgb32()) {
        return target.StretchFrom(source, destination);
    }
    if (!target.IsValid() || !source.IsValid() || target.IsLocked() || source.IsLocked() ||
        destination.IsEmpty()) {
        return false;
    }
    const Rect clipped{std::max(destination.left, 0), std::max(destination.top, 0),
                       std::min(destination.right, target.Width()),
                       std::min(destination.bottom, target.Height())};
    if (clipped.IsEmpty())
        return true;
    PrepareTables(source, destination, clipped);

    if (!lanesHold_)
        return target.StretchFrom(source, destination);

    const int width = source.Width();
    const size_t fullPairs = static_cast<size_t>(width) / 2;
    const size_t pairs = blueRed_.size();
    for (size_t r = 0; r < rows_.size(); ++r) {
        const Span rows = rows_[r];
        uint64_t* blueRed = blueRed_.data();
        uint64_t* greenRest = greenRest_.data();
        const uint8_t* lines[kMaxRows];
        const int height = rows.end - rows.begin;
        for (int y = 0; y < height; ++y)
            lines[y] = source.Row(rows.begin + y);
        SumColumns(lines, height, fullPairs, pairs, blueRed, greenRest);
        uint8_t* out = target.Row(clipped.top + static_cast<int>(r));
        for (size_t c = 0; c < columns_.size(); ++c) {
            const Span columns = columns_[c];
            uint32_t blue = 0, green = 0, red = 0;
            for (int x = columns.begin; x < columns.end; ++x) {
                const int shift = (x & 1) * 32;
                const uint64_t blueRedLanes = blueRed[x / 2] >> shift;
                blue += static_cast<uint32_t>(blueRedLanes & 0xFFFF);
                red += static_cast<uint32_t>((blueRedLanes >> 16) & 0xFFFF);
                green += static_cast<uint32_t>((greenRest[x / 2] >> shift) & 0xFFFF);
            }
            const auto count = static_cast<uint32_t>(height * (columns.end - columns.begin));
            const uint32_t rgb = ((red / count) << 16) | ((green / count) << 8) | (blue / count);
            std::memcpy(out + (clipped.left + static_cast<int>(c)) * 4, &rgb, 4);
        }
    }
    return true;
}

}  // namespace trevanto

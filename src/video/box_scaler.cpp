#include "video/box_scaler.h"

#include <algorithm>
#include <cstring>

namespace trevanto {
namespace {

constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;

// The ThreadSanitizer runtime is not ready when the loader runs the
// resolver that picks a clone, so sanitized builds take the plain version.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define TREVANTO_VECTOR_CLONES
#else
#define TREVANTO_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Four words at once (eight pixels), in vector registers.
using Words4 = uint64_t __attribute__((vector_size(32)));

// Adds one source row to the column sums: each 8-byte word holds two pixels,
// and the sums keep each channel of them in its own 16-bit lane (blue and red
// in `evenSums`, green and the unused byte in `oddSums`). Built for AVX2 as
// well, picked when the program loads.
TREVANTO_VECTOR_CLONES void AddRow(const uint8_t* line, size_t chunks, uint64_t* evenSums,
                                   uint64_t* oddSums) {
    const Words4 evenBytes = {kEvenBytes, kEvenBytes, kEvenBytes, kEvenBytes};
    for (size_t i = 0; i < chunks; ++i) {
        Words4 pixels;
        Words4 even;
        Words4 odd;
        std::memcpy(&pixels, line + i * 32, 32);
        std::memcpy(&even, evenSums + i * 4, 32);
        std::memcpy(&odd, oddSums + i * 4, 32);
        even += pixels & evenBytes;
        odd += (pixels >> 8) & evenBytes;
        std::memcpy(evenSums + i * 4, &even, 32);
        std::memcpy(oddSums + i * 4, &odd, 32);
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
    // Four words (eight pixels) per chunk, with room for a padded last chunk.
    const size_t words = (static_cast<size_t>(source.Width()) * 4 / 32 + 1) * 4;
    blueRed_.assign(words, 0);
    greenRest_.assign(words, 0);
    blueTotal_.assign(static_cast<size_t>(source.Width()) + 1, 0);
    greenTotal_.assign(static_cast<size_t>(source.Width()) + 1, 0);
    redTotal_.assign(static_cast<size_t>(source.Width()) + 1, 0);
    // Reciprocals of every box size, to divide by multiplying.
    reciprocals_.clear();
    int tallest = 0;
    int widest = 0;
    for (const Span& rows : rows_)
        tallest = std::max(tallest, rows.end - rows.begin);
    for (const Span& columns : columns_)
        widest = std::max(widest, columns.end - columns.begin);
    if (static_cast<int64_t>(tallest) * widest <= kMaxReciprocalCount) {
        reciprocals_.assign(static_cast<size_t>(tallest * widest) + 1, 0);
        for (const Span& rows : rows_) {
            for (const Span& columns : columns_) {
                const auto count =
                    static_cast<uint32_t>((rows.end - rows.begin) * (columns.end - columns.begin));
                reciprocals_[count] = (uint64_t{1} << 32) / count + 1;
            }
        }
    }
    lanesHold_ = std::all_of(rows_.begin(), rows_.end(),
                             [](const Span& rows) { return rows.end - rows.begin <= kMaxRows; });
}

uint32_t BoxScaler::Divide(uint32_t sum, uint32_t count) const {
    // Exact for sums up to 255 x count while count stays below 4104:
    // (2^32 / count + 1) overshoots 2^32 / count by less than 1, which adds
    // less than 255 x count / 2^32 < 1 / count to the quotient.
    if (count < reciprocals_.size()) {
        return static_cast<uint32_t>((uint64_t{sum} * reciprocals_[count]) >> 32);
    }
    return sum / count;
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

    const size_t rowBytes = static_cast<size_t>(source.Width()) * 4;
    const size_t fullChunks = rowBytes / 32;
    const size_t tailBytes = rowBytes % 32;
    for (size_t r = 0; r < rows_.size(); ++r) {
        const Span rows = rows_[r];
        uint64_t* blueRed = blueRed_.data();
        uint64_t* greenRest = greenRest_.data();
        std::fill(blueRed_.begin(), blueRed_.end(), 0);
        std::fill(greenRest_.begin(), greenRest_.end(), 0);
        const int height = rows.end - rows.begin;
        for (int y = rows.begin; y < rows.end; ++y) {
            const uint8_t* line = source.Row(y);
            AddRow(line, fullChunks, blueRed, greenRest);
            if (tailBytes > 0) {  // the row's last pixels, padded to a whole chunk
                uint8_t tail[32] = {};
                std::memcpy(tail, line + fullChunks * 32, tailBytes);
                AddRow(tail, 1, blueRed + fullChunks * 4, greenRest + fullChunks * 4);
            }
        }
        // Running totals along the row, so that each column's box is one
        // difference whatever its width.
        const size_t width = static_cast<size_t>(source.Width());
        uint32_t* blueTotal = blueTotal_.data();
        uint32_t* greenTotal = greenTotal_.data();
        uint32_t* redTotal = redTotal_.data();
        uint32_t blue = 0, green = 0, red = 0;
        auto addPixel = [&](size_t x, uint64_t blueRedLanes, uint64_t greenLanes) {
            blue += static_cast<uint32_t>(blueRedLanes & 0xFFFF);
            red += static_cast<uint32_t>((blueRedLanes >> 16) & 0xFFFF);
            green += static_cast<uint32_t>(greenLanes & 0xFFFF);
            blueTotal[x + 1] = blue;
            greenTotal[x + 1] = green;
            redTotal[x + 1] = red;
        };
        // Word p holds pixel 2p in its low half and pixel 2p + 1 in its high half.
        for (size_t p = 0; p < width / 2; ++p) {
            addPixel(2 * p, blueRed[p], greenRest[p]);
            addPixel(2 * p + 1, blueRed[p] >> 32, greenRest[p] >> 32);
        }
        if (width % 2 != 0)
            addPixel(width - 1, blueRed[width / 2], greenRest[width / 2]);
        uint8_t* out = target.Row(clipped.top + static_cast<int>(r));
        for (size_t c = 0; c < columns_.size(); ++c) {
            const Span columns = columns_[c];
            const auto begin = static_cast<size_t>(columns.begin);
            const auto end = static_cast<size_t>(columns.end);
            const auto count = static_cast<uint32_t>(height * (columns.end - columns.begin));
            const uint32_t boxRed = Divide(redTotal[end] - redTotal[begin], count);
            const uint32_t boxGreen = Divide(greenTotal[end] - greenTotal[begin], count);
            const uint32_t boxBlue = Divide(blueTotal[end] - blueTotal[begin], count);
            const uint32_t rgb = (boxRed << 16) | (boxGreen << 8) | boxBlue;
            std::memcpy(out + (clipped.left + static_cast<int>(c)) * 4, &rgb, 4);
        }
    }
    return true;
}

}  // namespace trevanto

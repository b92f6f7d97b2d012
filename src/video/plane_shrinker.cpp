#include "video/plane_shrinker.h"

#include <algorithm>

namespace trevanto {
namespace {

// Kept apart so that the vectoriser knows the two rows do not overlap.
void AddRow(uint16_t* __restrict sums, const uint8_t* __restrict line, size_t count) {
    for (size_t c = 0; c < count; ++c)
        sums[c] += line[c];
}

}  // namespace

bool PlaneShrinker::Accepts(AVPixelFormat format) {
    switch (format) {
        case AV_PIX_FMT_YUV420P:
        case AV_PIX_FMT_YUVJ420P:
        case AV_PIX_FMT_YUV422P:
        case AV_PIX_FMT_YUVJ422P:
        case AV_PIX_FMT_YUV444P:
        case AV_PIX_FMT_YUVJ444P:
            return true;
        default:
            return false;
    }
}

AVPixelFormat PlaneShrinker::ResultFormat(AVPixelFormat format) {
    const bool fullRange = format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P ||
                           format == AV_PIX_FMT_YUVJ444P;
    return fullRange ? AV_PIX_FMT_YUVJ444P : AV_PIX_FMT_YUV444P;
}

void PlaneShrinker::Bounds(int source, int small, std::vector<int>& bounds) {
    bounds.resize(static_cast<size_t>(small) + 1);
    for (int i = 0; i <= small; ++i)
        bounds[static_cast<size_t>(i)] = static_cast<int>(static_cast<int64_t>(i) * source / small);
    // A source smaller than the result: every small pixel takes at least one.
    for (int i = 0; i < small; ++i) {
        auto& first = bounds[static_cast<size_t>(i)];
        first = std::min(first, source - 1);
        bounds[static_cast<size_t>(i) + 1] =
            std::max(bounds[static_cast<size_t>(i) + 1], first + 1);
    }
}

void PlaneShrinker::ShrinkPlane(const uint8_t* source, int pitch, const std::vector<int>& columns,
                                const std::vector<int>& rows, uint8_t* target, int width) {
    // Rows are summed column by column first (a loop the compiler turns
    // into vector code), then each small pixel adds up its columns.
    const int height = static_cast<int>(rows.size()) - 1;
    const auto sourceWidth = static_cast<size_t>(columns.back());
    sums_.resize(sourceWidth);
    uint16_t* const sums = sums_.data();
    const int* const column = columns.data();
    for (int y = 0; y < height; ++y) {
        const int top = rows[static_cast<size_t>(y)];
        const int bottom = rows[static_cast<size_t>(y) + 1];
        std::fill(sums, sums + sourceWidth, uint16_t{0});
        for (int row = top; row < bottom; ++row) {
            AddRow(sums, source + static_cast<ptrdiff_t>(row) * pitch, sourceWidth);
        }
        uint8_t* const out = target + static_cast<ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            uint32_t sum = 0;
            for (int c = column[x]; c < column[x + 1]; ++c)
                sum += sums[c];
            const auto count = static_cast<uint32_t>((bottom - top) * (column[x + 1] - column[x]));
            const uint32_t rounded = sum + count / 2;
            out[x] = static_cast<uint8_t>(
                count < kExactCounts ? static_cast<uint32_t>((rounded * reciprocals_[count]) >> 32)
                                     : rounded / count);
        }
    }
}

bool PlaneShrinker::Shrink(const AVFrame& picture, int width, int height) {
    const auto format = static_cast<AVPixelFormat>(picture.format);
    if (!Accepts(format) || width <= 0 || height <= 0 || picture.width <= 0 ||
        picture.height <= 0 || picture.height > static_cast<int64_t>(height) * (kMaxRows - 1))
        return false;
    const AVPixFmtDescriptor* const descriptor = av_pix_fmt_desc_get(format);
    const int chromaWidth = AV_CEIL_RSHIFT(picture.width, descriptor->log2_chroma_w);
    const int chromaHeight = AV_CEIL_RSHIFT(picture.height, descriptor->log2_chroma_h);
    // Every small pixel needs a source pixel of its own in every plane: the
    // chroma of a 176 x 144 picture does not cover 100 x 80.
    if (chromaWidth < width || chromaHeight < height)
        return false;
    Bounds(picture.width, width, lumaColumns_);
    Bounds(picture.height, height, lumaRows_);
    Bounds(chromaWidth, width, chromaColumns_);
    Bounds(chromaHeight, height, chromaRows_);
    if (reciprocals_.empty()) {
        reciprocals_.resize(kExactCounts);
        for (uint32_t count = 1; count < kExactCounts; ++count)
            reciprocals_[count] = ((uint64_t{1} << 32) + count - 1) / count;
    }
    const size_t plane = static_cast<size_t>(width) * height;
    bytes_.resize(plane * 3);
    for (int i = 0; i < 3; ++i) {
        uint8_t* const target = bytes_.data() + plane * static_cast<size_t>(i);
        ShrinkPlane(picture.data[i], picture.linesize[i], i == 0 ? lumaColumns_ : chromaColumns_,
                    i == 0 ? lumaRows_ : chromaRows_, target, width);
        planes_[i] = target;
        pitches_[i] = width;
    }
    return true;
}

}  // namespace trevanto

#pragma once
// Shrinks the planes of an 8-bit planar YUV picture by plain box averaging:
// each small pixel is the rounded mean of the source pixels its area covers,
// every plane (chroma too) at the small size. For the shot engine's
// thumbnail, which needs no more and costs far less this way than a general
// scaler working on the whole picture.
#include <cstdint>
#include <vector>

#include "video/ffmpeg_handles.h"

namespace trevanto {

class PlaneShrinker {
  public:
    // Most source rows one small row may cover: their sums fit 16 bits.
    static constexpr int kMaxRows = 257;

    // True when Shrink takes pictures of this pixel format.
    static bool Accepts(AVPixelFormat format);
    // The pixel format of the shrunk planes (4:4:4, same range).
    static AVPixelFormat ResultFormat(AVPixelFormat format);

    // Shrinks `picture` to width x height; false for a format it does not
    // take, an empty size, a plane smaller than width x height or a picture
    // over kMaxRows times as high. The planes stay valid until the next call.
    bool Shrink(const AVFrame& picture, int width, int height);
    const uint8_t* const* Planes() const { return planes_; }
    const int* Pitches() const { return pitches_; }

  private:
    // First source index of every small index, then one past the last.
    static void Bounds(int source, int small, std::vector<int>& bounds);
    void ShrinkPlane(const uint8_t* source, int pitch, const std::vector<int>& columns,
                     const std::vector<int>& rows, uint8_t* target, int width);

    // A division per small pixel cost more than all the sums: below this
    // many source pixels the mean is a multiplication by ceil(2^32 / count),
    // exact for sums under 256 x count.
    static constexpr uint32_t kExactCounts = 4096;
    std::vector<uint64_t> reciprocals_;
    std::vector<uint8_t> bytes_;
    std::vector<uint16_t> sums_;  // of at most kMaxRows rows of 8 bits
    std::vector<int> lumaColumns_, lumaRows_, chromaColumns_, chromaRows_;
    const uint8_t* planes_[4] = {};
    int pitches_[4] = {};
};

}  // namespace trevanto

#pragma once
// A faster Surface::StretchFrom for shrinking a 32-bit frame: the same boxes
// and the same integer averages, so the picture is identical to the bit, but
// the box bounds are worked out once per size and each box row is summed for
// all columns in one straight pass. Scaling every delivered frame to the
// thumbnail is the main cost of a slicing run besides decoding.
#include <cstdint>
#include <vector>

#include "video/surface.h"

namespace trevanto {

class BoxScaler {
  public:
    // Scales the whole source onto `destination` of `target` as StretchFrom
    // does; falls back to StretchFrom for pixel formats other than 32-bit RGB.
    bool Scale(const Surface& source, Surface& target, Rect destination);

  private:
    // Rows one 16-bit lane can sum without overflow: 257 x 255 < 65536.
    static constexpr int kMaxRows = 257;
    // Box sizes up to this are divided by multiplying (exact below 4104).
    static constexpr int kMaxReciprocalCount = 4096;
    struct Span {
        int begin = 0;
        int end = 0;  // exclusive
    };
    // The source span each destination column and row averages.
    static std::vector<Span> Spans(int sourceSize, int destinationStart, int destinationSize,
                                   int clippedBegin, int clippedEnd);
    void PrepareTables(const Surface& source, const Rect& destination, const Rect& clipped);
    // sum / count, the integer quotient, by a multiplication where it can.
    uint32_t Divide(uint32_t sum, uint32_t count) const;

    int sourceWidth_ = -1;
    int sourceHeight_ = -1;
    Rect destination_{-1, -1, -1, -1};
    Rect clipped_{-1, -1, -1, -1};
    std::vector<Span> columns_;
    std::vector<Span> rows_;
    // Column sums of one box row, two pixels per word in 16-bit lanes: blue
    // and red of both pixels, and green (and the unused byte) of both; word p
    // holds pixels 2p and 2p + 1.
    std::vector<uint64_t> blueRed_;
    std::vector<uint64_t> greenRest_;
    // Running totals of each channel along the box row; entry x sums pixels
    // 0 .. x - 1.
    std::vector<uint32_t> blueTotal_;
    std::vector<uint32_t> greenTotal_;
    std::vector<uint32_t> redTotal_;
    std::vector<uint64_t> reciprocals_;  // by box size; empty when the boxes are too big
    bool lanesHold_ = true;              // no box is so tall that a 16-bit lane could overflow
};

}  // namespace trevanto

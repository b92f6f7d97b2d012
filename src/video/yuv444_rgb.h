#pragma once
// Converts the thumbnail's small 8-bit 4:4:4 planes (PlaneShrinker's) to
// RGB32 directly. libswscale has no fast converter from 4:4:4 and takes its
// general path, seven times as slow on 100 x 80 pixels; this gives the very
// same bytes, since the shot engine's cuts depend on them: the arithmetic of
// that path's full-chroma output (BT.601, no dithering), per pixel, with
// the matrix taken from libswscale.
#include <cstdint>

#include "picture/surface.h"

namespace trevanto {

class Yuv444Rgb {
  public:
    // Writes width x height pixels from the three planes into `target`
    // (0xFFRRGGBB words); `fullRange` for the JPEG range (YUVJ444P). False
    // when the target is no RGB32 surface of at least that size.
    static bool Convert(const uint8_t* const planes[3], const int pitches[3], int width, int height,
                        bool fullRange, Surface& target);

    // libswscale's 16-bit coefficients; the arithmetic is in unsigned words,
    // whose sums wrap as its do before it clips them.
    struct Coefficients {
        uint32_t luma, lumaOffset, redV, greenV, greenU, blueU;
    };

  private:
    static Coefficients Make(bool fullRange);
};

}  // namespace trevanto

#pragma once
// Rows of a planar YUV picture of more than 8 bits (10-bit HEVC, VP9, AV1)
// as 16-bit RGB, for the tone mapping of HDR pictures. libswscale has no
// fast path from these formats to 16-bit RGB (350 ms for a 4K picture on
// the development machine); this plain conversion takes a fraction of it.
// Chroma is taken from the sample that covers the pixel.
#include <cstdint>
#include <vector>

#include "video/ffmpeg_handles.h"

namespace trevanto {

class WideYuv {
  public:
    // False for a picture this class does not convert: not planar YUV of 9
    // to 16 bits in the machine's order.
    bool Prepare(const AVFrame& picture);
    // Row `y` of the picture Prepare accepted into width x 3 samples of 0 to
    // 65535 (R, G, B).
    void Row(const AVFrame& picture, int y, uint16_t* rgb) const;
    // The picture Prepare accepted shrunk to width x height by averaging
    // the planes over each small pixel's area: width x height x 3 samples,
    // row after row.
    void Shrink(const AVFrame& picture, int width, int height, std::vector<uint16_t>& rgb);

  private:
    void Pixel(float luma, float cb, float cr, uint16_t* rgb) const;
    // The mean of plane `plane` over columns [x0, x1) and rows [y0, y1).
    static float Mean(const AVFrame& picture, int plane, int x0, int x1, int y0, int y1);

    int chromaShiftX_ = 0;
    int chromaShiftY_ = 0;
    float lumaOffset_ = 0.0f, lumaScale_ = 1.0f;
    float chromaOffset_ = 0.0f, chromaScale_ = 1.0f;
    float crToR_ = 0.0f, cbToG_ = 0.0f, crToG_ = 0.0f, cbToB_ = 0.0f;
};

}  // namespace trevanto

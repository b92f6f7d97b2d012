#pragma once
// Converts decoded pictures to 32-bit RGB surfaces with libswscale, spread
// over the machine's cores. Each pixel is the word 0xFFRRGGBB, the layout of
// QImage::Format_RGB32 (the top byte is not part of the colour). Used on the
// streaming thread only.
#include "video/ffmpeg_handles.h"
#include "video/surface.h"

namespace trevanto {

class FrameConverter {
  public:
    FrameConverter();

    // False when the picture's size differs from the surface's or its pixel
    // format cannot be converted.
    bool Convert(const AVFrame& picture, Surface& surface);

  private:
    bool Prepare(const AVFrame& picture);

    ffmpeg::ScalerPtr scaler_;
    ffmpeg::FramePtr target_;
    int width_ = 0;
    int height_ = 0;
    int format_ = -1;
};

}  // namespace trevanto

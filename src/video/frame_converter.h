#pragma once
// Converts decoded pictures to 32-bit RGB surfaces (0x00RRGGBB words) with
// libswscale. Used on the streaming thread only.
#include "video/ffmpeg_handles.h"
#include "video/surface.h"

namespace trevanto {

class FrameConverter {
  public:
    // False when the picture's size differs from the surface's or its pixel
    // format cannot be converted.
    bool Convert(const AVFrame& picture, Surface& surface);

  private:
    ffmpeg::ScalerPtr scaler_;
};

}  // namespace trevanto

#pragma once
// Converts decoded pictures to 32-bit RGB surfaces with libswscale. Each
// pixel is the word 0xFFRRGGBB, the layout of QImage::Format_RGB32 (the top
// byte is not part of the colour). Used by one thread at a time.
#include "picture/surface.h"
#include "video/ffmpeg_handles.h"
#include "video/plane_shrinker.h"

namespace trevanto {

class FrameConverter {
  public:
    // False when the picture's size differs from the surface's, its pixel
    // format cannot be converted or the surface's rows are not padded as
    // SurfacePool pads them.
    bool Convert(const AVFrame& picture, Surface& surface);
    // Shrinks the picture onto the whole of a (smaller) RGB32 surface,
    // averaging areas, straight from its planes: a thumbnail for less than
    // shrinking the converted frame would cost. Planar YUV is box-averaged
    // plane by plane, then only the small picture is converted. False when
    // it cannot.
    bool Shrink(const AVFrame& picture, Surface& thumbnail);

  private:
    ffmpeg::ScalerPtr scaler_;
    ffmpeg::ScalerPtr shrinker_;
    PlaneShrinker planes_;
};

}  // namespace trevanto

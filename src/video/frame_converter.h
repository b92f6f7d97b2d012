#pragma once
// Converts decoded pictures to 32-bit RGB surfaces with libswscale. Each
// pixel is the word 0xFFRRGGBB, the layout of QImage::Format_RGB32 (the top
// byte is not part of the colour). Pictures are turned upright by the
// stream's orientation, and HDR pictures (PQ or HLG) tone mapped to
// standard range. Used by one thread at a time.
#include <memory>
#include <vector>

#include "picture/surface.h"
#include "video/ffmpeg_handles.h"
#include "video/orientation.h"
#include "video/plane_shrinker.h"
#include "video/tone_map.h"
#include "video/wide_yuv.h"

namespace trevanto {

class FrameConverter {
  public:
    // False when the surface's size differs from the picture's upright one,
    // its pixel format cannot be converted or the surface's rows are not
    // padded as SurfacePool pads them.
    bool Convert(const AVFrame& picture, Surface& surface, Orientation orientation = {});
    // Shrinks the picture onto the whole of a (smaller) RGB32 surface,
    // averaging areas, straight from its planes: a thumbnail for less than
    // shrinking the converted frame would cost. Planar YUV is box-averaged
    // plane by plane, then only the small picture is converted (Yuv444Rgb). False when
    // it cannot.
    bool Shrink(const AVFrame& picture, Surface& thumbnail, Orientation orientation = {});

  private:
    // Converts the whole picture into the whole of `surface` (as stored).
    bool Scale(ffmpeg::ScalerPtr& scaler, const AVFrame& picture, Surface& surface, int flags);
    // The same for an HDR picture: to 16-bit RGB, then tone mapped.
    bool ScaleHdr(ffmpeg::ScalerPtr& scaler, const AVFrame& picture, Transfer transfer,
                  Surface& surface, int flags);
    // `upright` itself when the picture is stored upright, else `scratch`
    // made the stored size.
    static Surface* StoredTarget(Surface& upright, Orientation orientation,
                                 std::unique_ptr<Surface>& scratch);

    ffmpeg::ScalerPtr scaler_;
    ffmpeg::ScalerPtr shrinker_;
    PlaneShrinker planes_;
    std::unique_ptr<Surface> storedFrame_;
    std::unique_ptr<Surface> storedThumbnail_;
    std::vector<uint16_t> wide_;  // 16-bit RGB of an HDR picture
    WideYuv wideYuv_;
    std::unique_ptr<ToneMapper> toneMapper_;
};

}  // namespace trevanto

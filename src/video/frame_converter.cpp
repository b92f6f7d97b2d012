#include "video/frame_converter.h"

#include <bit>

namespace trevanto {
namespace {

// The byte order of a 0x00RRGGBB word in memory.
constexpr AVPixelFormat kSurfaceFormat =
    std::endian::native == std::endian::little ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_0RGB;

}  // namespace

bool FrameConverter::Convert(const AVFrame& picture, Surface& surface) {
    if (!surface.IsValid() || !surface.Format().IsRgb32() || picture.width != surface.Width() ||
        picture.height != surface.Height())
        return false;
    SwsContext* scaler = sws_getCachedContext(scaler_.release(), picture.width, picture.height,
                                              static_cast<AVPixelFormat>(picture.format),
                                              surface.Width(), surface.Height(), kSurfaceFormat,
                                              SWS_BILINEAR, nullptr, nullptr, nullptr);
    scaler_.reset(scaler);
    if (!scaler)
        return false;
    uint8_t* const target[4] = {surface.Bits(), nullptr, nullptr, nullptr};
    const int targetPitch[4] = {surface.Pitch(), 0, 0, 0};
    return sws_scale(scaler, picture.data, picture.linesize, 0, picture.height, target,
                     targetPitch) == picture.height;
}

}  // namespace trevanto

#include "video/frame_converter.h"

namespace trevanto {
namespace {

// 0xFFRRGGBB words in memory (B, G, R, A on little-endian machines). The
// converters that write an alpha byte are the fast ones.
constexpr AVPixelFormat kSurfaceFormat = AV_PIX_FMT_RGB32;

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

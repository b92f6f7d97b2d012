#include "video/frame_converter.h"

#include "picture/surface_pool.h"

namespace trevanto {
namespace {

// 0xFFRRGGBB words in memory (B, G, R, A on little-endian machines). The
// converters that write an alpha byte are the fast ones.
constexpr AVPixelFormat kSurfaceFormat = AV_PIX_FMT_RGB32;

// Converts the whole picture into the whole surface with the cached context
// `scaler`, made anew when the sizes or formats change.
bool Scale(ffmpeg::ScalerPtr& scaler, const AVFrame& picture, Surface& surface, int flags) {
    // Only into rows with room for libswscale's block writes.
    if (!surface.IsValid() || !surface.Format().IsRgb32() || picture.width <= 0 ||
        picture.height <= 0 || surface.Pitch() < SurfacePool::ConversionPitch(surface.Width()))
        return false;
    scaler.reset(sws_getCachedContext(
        scaler.release(), picture.width, picture.height, static_cast<AVPixelFormat>(picture.format),
        surface.Width(), surface.Height(), kSurfaceFormat, flags, nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    uint8_t* const target[4] = {surface.Bits(), nullptr, nullptr, nullptr};
    const int targetPitch[4] = {surface.Pitch(), 0, 0, 0};
    return sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, target,
                     targetPitch) == surface.Height();
}

}  // namespace

bool FrameConverter::Convert(const AVFrame& picture, Surface& surface) {
    if (picture.width != surface.Width() || picture.height != surface.Height())
        return false;
    return Scale(scaler_, picture, surface, SWS_BILINEAR);
}

bool FrameConverter::Shrink(const AVFrame& picture, Surface& thumbnail) {
    const auto format = static_cast<AVPixelFormat>(picture.format);
    if (!PlaneShrinker::Accepts(format) || !thumbnail.IsValid() ||
        !planes_.Shrink(picture, thumbnail.Width(), thumbnail.Height()))
        return Scale(shrinker_, picture, thumbnail, SWS_AREA);
    // The small planes, converted at their own size.
    AVFrame small{};
    small.format = PlaneShrinker::ResultFormat(format);
    small.width = thumbnail.Width();
    small.height = thumbnail.Height();
    for (int i = 0; i < 3; ++i) {
        small.data[i] = const_cast<uint8_t*>(planes_.Planes()[i]);
        small.linesize[i] = planes_.Pitches()[i];
    }
    return Scale(shrinker_, small, thumbnail, SWS_AREA);
}

}  // namespace trevanto

#include "video/frame_converter.h"

#include "picture/surface_pool.h"
#include "video/yuv444_rgb.h"

namespace trevanto {
namespace {

// 0xFFRRGGBB words in memory (B, G, R, A on little-endian machines). The
// converters that write an alpha byte are the fast ones.
constexpr AVPixelFormat kSurfaceFormat = AV_PIX_FMT_RGB32;
// 16 bits per channel in the machine's order, for the tone mapping.
constexpr AVPixelFormat kWideFormat = AV_PIX_FMT_RGB48;

bool CanScale(const AVFrame& picture, const Surface& surface) {
    // Only into rows with room for libswscale's block writes.
    return surface.IsValid() && surface.Format().IsRgb32() && picture.width > 0 &&
           picture.height > 0 && surface.Pitch() >= SurfacePool::ConversionPitch(surface.Width());
}

Transfer TransferOf(const AVFrame& picture) {
    switch (picture.color_trc) {
        case AVCOL_TRC_SMPTE2084:
            return Transfer::Pq;
        case AVCOL_TRC_ARIB_STD_B67:
            return Transfer::Hlg;
        default:
            return Transfer::Standard;
    }
}

// The YUV matrix of an HDR picture: BT.2020 unless it says otherwise.
int YuvMatrixOf(const AVFrame& picture) {
    switch (picture.colorspace) {
        case AVCOL_SPC_BT709:
            return SWS_CS_ITU709;
        case AVCOL_SPC_BT470BG:
        case AVCOL_SPC_SMPTE170M:
            return SWS_CS_ITU601;
        default:
            return SWS_CS_BT2020;
    }
}

}  // namespace

bool FrameConverter::Scale(ffmpeg::ScalerPtr& scaler, const AVFrame& picture, Surface& surface,
                           int flags) {
    if (!CanScale(picture, surface))
        return false;
    if (const Transfer transfer = TransferOf(picture); transfer != Transfer::Standard)
        return ScaleHdr(scaler, picture, transfer, surface, flags);
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

bool FrameConverter::ScaleHdr(ffmpeg::ScalerPtr& scaler, const AVFrame& picture, Transfer transfer,
                              Surface& surface, int flags) {
    const bool wideGamut = picture.color_primaries != AVCOL_PRI_BT709;
    if (!toneMapper_ || toneMapper_->Kind() != transfer || toneMapper_->WideGamut() != wideGamut)
        toneMapper_ = std::make_unique<ToneMapper>(transfer, wideGamut);
    const int width = surface.Width(), height = surface.Height();
    if (wideYuv_.Prepare(picture)) {
        // Planar YUV of 10 bits and the like: converted here, row by row at
        // the picture's size, else shrunk by areas.
        const bool whole = width == picture.width && height == picture.height;
        if (whole) {
            wide_.resize(static_cast<size_t>(width) * 3);
        } else {
            wideYuv_.Shrink(picture, width, height, wide_);
        }
        for (int y = 0; y < height; ++y) {
            const uint16_t* rgb = wide_.data();
            if (whole) {
                wideYuv_.Row(picture, y, wide_.data());
            } else {
                rgb += static_cast<size_t>(y) * width * 3;
            }
            toneMapper_->MapRow(rgb, reinterpret_cast<uint32_t*>(surface.Row(y)), width);
        }
        return true;
    }
    // Other formats through libswscale, to 16-bit RGB.
    const auto format = static_cast<AVPixelFormat>(picture.format);
    scaler.reset(sws_getCachedContext(scaler.release(), picture.width, picture.height, format,
                                      surface.Width(), surface.Height(), kWideFormat, flags,
                                      nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    if (descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB)) {
        const int fullRange = picture.color_range == AVCOL_RANGE_JPEG ? 1 : 0;
        sws_setColorspaceDetails(scaler.get(), sws_getCoefficients(YuvMatrixOf(picture)), fullRange,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    }
    // Rows padded to 16 pixels, as for RGB32: the block writers go past.
    const int pitch = SurfacePool::ConversionPitch(surface.Width()) / 4 * 3;
    wide_.resize(static_cast<size_t>(pitch) * (surface.Height() + 1));
    uint8_t* const target[4] = {reinterpret_cast<uint8_t*>(wide_.data()), nullptr, nullptr,
                                nullptr};
    const int targetPitch[4] = {pitch * 2, 0, 0, 0};
    if (sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, target,
                  targetPitch) != surface.Height())
        return false;
    for (int y = 0; y < surface.Height(); ++y)
        toneMapper_->MapRow(wide_.data() + static_cast<size_t>(y) * pitch,
                            reinterpret_cast<uint32_t*>(surface.Row(y)), surface.Width());
    return true;
}

Surface* FrameConverter::StoredTarget(Surface& upright, Orientation orientation,
                                      std::unique_ptr<Surface>& scratch) {
    if (orientation.IsUpright())
        return &upright;
    // The stored size is the upright one turned back.
    const int width = orientation.UprightWidth(upright.Width(), upright.Height());
    const int height = orientation.UprightHeight(upright.Width(), upright.Height());
    if (!scratch || scratch->Width() != width || scratch->Height() != height)
        scratch = std::make_unique<Surface>(width, height, PixelFormat::Rgb32(),
                                            SurfacePool::ConversionPitch(width));
    return scratch->IsValid() ? scratch.get() : nullptr;
}

bool FrameConverter::Convert(const AVFrame& picture, Surface& surface, Orientation orientation) {
    if (orientation.UprightWidth(picture.width, picture.height) != surface.Width() ||
        orientation.UprightHeight(picture.width, picture.height) != surface.Height())
        return false;
    Surface* const stored = StoredTarget(surface, orientation, storedFrame_);
    if (!stored || !Scale(scaler_, picture, *stored, SWS_BILINEAR))
        return false;
    return stored == &surface || Reorient(*stored, orientation, surface);
}

bool FrameConverter::Shrink(const AVFrame& picture, Surface& thumbnail, Orientation orientation) {
    Surface* const stored = StoredTarget(thumbnail, orientation, storedThumbnail_);
    if (!stored || !thumbnail.IsValid())
        return false;
    const auto format = static_cast<AVPixelFormat>(picture.format);
    bool shrunk = false;
    if (!PlaneShrinker::Accepts(format) || TransferOf(picture) != Transfer::Standard ||
        !planes_.Shrink(picture, stored->Width(), stored->Height())) {
        shrunk = Scale(shrinker_, picture, *stored, SWS_AREA);
    } else {
        // The small planes, converted at their own size.
        const bool fullRange = PlaneShrinker::ResultFormat(format) == AV_PIX_FMT_YUVJ444P;
        shrunk = Yuv444Rgb::Convert(planes_.Planes(), planes_.Pitches(), stored->Width(),
                                    stored->Height(), fullRange, *stored);
    }
    return shrunk && (stored == &thumbnail || Reorient(*stored, orientation, thumbnail));
}

}  // namespace trevanto

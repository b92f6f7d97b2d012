#include "video/frame_converter.h"

#include <thread>

extern "C" {
#include <libavutil/opt.h>
}

namespace trevanto {
namespace {

// 0xFFRRGGBB words in memory: B, G, R, A on little-endian machines. The
// converters with an alpha byte are the fast ones.
constexpr AVPixelFormat kSurfaceFormat = AV_PIX_FMT_RGB32;

void KeepPixels(void*, uint8_t*) {}  // the surface owns them

}  // namespace

FrameConverter::FrameConverter() : target_(ffmpeg::MakeFrame()) {}

bool FrameConverter::Prepare(const AVFrame& picture) {
    if (scaler_ && picture.width == width_ && picture.height == height_ &&
        picture.format == format_)
        return true;
    scaler_.reset(sws_alloc_context());
    if (!scaler_)
        return false;
    SwsContext* scaler = scaler_.get();
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    av_opt_set_int(scaler, "srcw", picture.width, 0);
    av_opt_set_int(scaler, "srch", picture.height, 0);
    av_opt_set_int(scaler, "src_format", picture.format, 0);
    av_opt_set_int(scaler, "dstw", picture.width, 0);
    av_opt_set_int(scaler, "dsth", picture.height, 0);
    av_opt_set_int(scaler, "dst_format", kSurfaceFormat, 0);
    av_opt_set_int(scaler, "sws_flags", SWS_BILINEAR, 0);
    av_opt_set_int(scaler, "threads", threads, 0);
    if (sws_init_context(scaler, nullptr, nullptr) < 0) {
        scaler_.reset();
        return false;
    }
    width_ = picture.width;
    height_ = picture.height;
    format_ = picture.format;
    return true;
}

bool FrameConverter::Convert(const AVFrame& picture, Surface& surface) {
    if (!target_ || !surface.IsValid() || !surface.Format().IsRgb32() ||
        picture.width != surface.Width() || picture.height != surface.Height() || !Prepare(picture))
        return false;
    AVFrame& target = *target_;
    av_frame_unref(&target);
    target.format = kSurfaceFormat;
    target.width = surface.Width();
    target.height = surface.Height();
    target.data[0] = surface.Bits();
    target.linesize[0] = surface.Pitch();
    target.buf[0] =
        av_buffer_create(surface.Bits(), static_cast<size_t>(surface.Pitch()) * surface.Height(),
                         &KeepPixels, nullptr, 0);
    if (!target.buf[0])
        return false;
    const bool converted = sws_scale_frame(scaler_.get(), &target, &picture) >= 0;
    av_frame_unref(&target);
    return converted;
}

}  // namespace trevanto

#pragma once
// Owning handles for the FFmpeg objects of the playback graph. Private to
// the media layer: nothing outside src/video includes FFmpeg headers.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace trevanto::ffmpeg {

struct InputDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using InputPtr = std::unique_ptr<AVFormatContext, InputDeleter>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerDeleter>;

inline FramePtr MakeFrame() {
    return FramePtr(av_frame_alloc());
}
inline PacketPtr MakePacket() {
    return PacketPtr(av_packet_alloc());
}

}  // namespace trevanto::ffmpeg

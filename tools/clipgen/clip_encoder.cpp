#include "clipgen/clip_encoder.h"

#include "video/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace trevanto::clipgen {
namespace {

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

struct ClipEncoder::State {
    ffmpeg::OutputPtr output;
    ffmpeg::CodecPtr codec;
    ffmpeg::FramePtr frame;
    ffmpeg::PacketPtr packet;
    ffmpeg::ScalerPtr scaler;
    AVStream* stream = nullptr;
    int64_t nextPts = 0;
    bool headerWritten = false;

    bool Drain(std::string& error) {
        for (;;) {
            const int result = avcodec_receive_packet(codec.get(), packet.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return true;
            if (result < 0) {
                error = "encoding failed: " + ErrorText(result);
                return false;
            }
            av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            const int written = av_interleaved_write_frame(output.get(), packet.get());
            if (written < 0) {
                error = "writing failed: " + ErrorText(written);
                return false;
            }
        }
    }
};

ClipEncoder::ClipEncoder() : state_(std::make_unique<State>()) {}

ClipEncoder::~ClipEncoder() = default;

bool ClipEncoder::Open(const std::string& path, const ClipFormat& format, std::string& error) {
    AVFormatContext* rawOutput = nullptr;
    avformat_alloc_output_context2(&rawOutput, nullptr, format.muxer.c_str(), path.c_str());
    if (!rawOutput) {
        error = "no muxer " + format.muxer;
        return false;
    }
    state_->output.reset(rawOutput);
    const AVCodec* encoder = avcodec_find_encoder_by_name(format.encoder.c_str());
    if (!encoder) {
        error = "no encoder " + format.encoder;
        return false;
    }
    state_->stream = avformat_new_stream(rawOutput, nullptr);
    state_->codec.reset(avcodec_alloc_context3(encoder));
    state_->frame.reset(av_frame_alloc());
    state_->packet.reset(av_packet_alloc());
    if (!state_->stream || !state_->codec || !state_->frame || !state_->packet) {
        error = "out of memory";
        return false;
    }
    AVCodecContext& codec = *state_->codec;
    codec.width = format.width;
    codec.height = format.height;
    // Motion JPEG is full range, as JPEG files are.
    codec.pix_fmt = encoder->id == AV_CODEC_ID_MJPEG ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    codec.time_base = AVRational{1, format.framesPerSecond};
    codec.framerate = AVRational{format.framesPerSecond, 1};
    codec.gop_size = format.gopSize;
    codec.max_b_frames = format.maxBFrames;
    codec.flags |= AV_CODEC_FLAG_QSCALE;
    codec.global_quality = FF_QP2LAMBDA * format.quantiser;
    // A nominal rate for the stream headers; the quality is fixed.
    codec.bit_rate = static_cast<int64_t>(format.width) * format.height * 40;
    codec.rc_max_rate = 0;
    codec.rc_buffer_size = 0;
    // Keyframes only every gopSize frames, so that seeks land mid-GOP.
    codec.flags |= AV_CODEC_FLAG_CLOSED_GOP;
    av_opt_set_int(codec.priv_data, "sc_threshold", 1000000000, 0);
    if (rawOutput->oformat->flags & AVFMT_GLOBALHEADER)
        codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(&codec, encoder, nullptr);
    if (result < 0) {
        error = "cannot open encoder: " + ErrorText(result);
        return false;
    }
    avcodec_parameters_from_context(state_->stream->codecpar, &codec);
    state_->stream->time_base = codec.time_base;
    state_->stream->avg_frame_rate = codec.framerate;
    state_->stream->r_frame_rate = codec.framerate;

    AVFrame& frame = *state_->frame;
    frame.format = codec.pix_fmt;
    frame.width = codec.width;
    frame.height = codec.height;
    if (av_frame_get_buffer(&frame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    state_->scaler.reset(sws_getContext(format.width, format.height, AV_PIX_FMT_BGR0, format.width,
                                        format.height, codec.pix_fmt, SWS_BICUBIC, nullptr, nullptr,
                                        nullptr));
    if (!state_->scaler) {
        error = "no colour converter";
        return false;
    }
    if (!(rawOutput->oformat->flags & AVFMT_NOFILE)) {
        result = avio_open(&rawOutput->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (result < 0) {
            error = "cannot write " + path + ": " + ErrorText(result);
            return false;
        }
    }
    result = avformat_write_header(rawOutput, nullptr);
    if (result < 0) {
        error = "cannot write the header: " + ErrorText(result);
        return false;
    }
    state_->headerWritten = true;
    return true;
}

bool ClipEncoder::Write(const Surface& picture, std::string& error, bool predicted) {
    AVFrame& frame = *state_->frame;
    if (av_frame_make_writable(&frame) < 0) {
        error = "out of memory";
        return false;
    }
    const uint8_t* source[1] = {picture.Bits()};
    const int sourcePitch[1] = {picture.Pitch()};
    sws_scale(state_->scaler.get(), source, sourcePitch, 0, picture.Height(), frame.data,
              frame.linesize);
    frame.pts = state_->nextPts++;
    frame.quality = state_->codec->global_quality;
    frame.pict_type = predicted ? AV_PICTURE_TYPE_P : AV_PICTURE_TYPE_NONE;
    const int result = avcodec_send_frame(state_->codec.get(), &frame);
    if (result < 0) {
        error = "encoding failed: " + ErrorText(result);
        return false;
    }
    return state_->Drain(error);
}

bool ClipEncoder::CanDrain() const {
    return state_->codec && (state_->codec->codec->capabilities & AV_CODEC_CAP_DELAY) != 0;
}

bool ClipEncoder::Finish(std::string& error) {
    if (!state_->headerWritten)
        return false;
    avcodec_send_frame(state_->codec.get(), nullptr);
    if (!state_->Drain(error))
        return false;
    const int result = av_write_trailer(state_->output.get());
    if (result < 0) {
        error = "cannot finish the file: " + ErrorText(result);
        return false;
    }
    return true;
}

}  // namespace trevanto::clipgen

#include "clipgen/clip_encoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "video/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
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

// Options for avcodec_open2 and avformat_write_header; what they leave
// unused is a mistake in the clip table.
struct Options {
    explicit Options(const std::vector<std::pair<std::string, std::string>>& pairs) {
        for (const auto& [name, value] : pairs)
            av_dict_set(&dictionary, name.c_str(), value.c_str(), 0);
    }
    ~Options() { av_dict_free(&dictionary); }
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;
    bool AllUsed(std::string& error) const {
        if (const AVDictionaryEntry* left =
                av_dict_get(dictionary, "", nullptr, AV_DICT_IGNORE_SUFFIX)) {
            error = std::string("unknown option ") + left->key;
            return false;
        }
        return true;
    }
    AVDictionary* dictionary = nullptr;
};

// 4:2:0 where the encoder takes it, else its first format (ProRes: 4:2:2).
AVPixelFormat PixelFormatFor(const AVCodec& encoder) {
    // Motion JPEG is full range, as JPEG files are.
    if (encoder.id == AV_CODEC_ID_MJPEG)
        return AV_PIX_FMT_YUVJ420P;
    if (!encoder.pix_fmts)
        return AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* format = encoder.pix_fmts; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == AV_PIX_FMT_YUV420P)
            return AV_PIX_FMT_YUV420P;
    return encoder.pix_fmts[0];
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
    // The sound track, when there is one.
    ffmpeg::CodecPtr audioCodec;
    ffmpeg::FramePtr audioFrame;
    AVStream* audioStream = nullptr;
    std::vector<int16_t> tone;  // samples not yet encoded
    int64_t toneSamples = 0;    // samples made so far
    double phase = 0.0;

    bool Drain(std::string& error) { return Drain(*codec, *stream, error); }
    bool Drain(AVCodecContext& encoder, AVStream& into, std::string& error) {
        for (;;) {
            const int result = avcodec_receive_packet(&encoder, packet.get());
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return true;
            if (result < 0) {
                error = "encoding failed: " + ErrorText(result);
                return false;
            }
            av_packet_rescale_ts(packet.get(), encoder.time_base, into.time_base);
            packet->stream_index = into.index;
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
    codec.pix_fmt = PixelFormatFor(*encoder);
    if (format.hdr10) {
        codec.pix_fmt = AV_PIX_FMT_YUV420P10;
        codec.color_primaries = AVCOL_PRI_BT2020;
        codec.color_trc = AVCOL_TRC_SMPTE2084;
        codec.colorspace = AVCOL_SPC_BT2020_NCL;
        codec.color_range = AVCOL_RANGE_MPEG;
    }
    codec.time_base =
        AVRational{1, format.ticksPerSecond > 0 ? format.ticksPerSecond : format.framesPerSecond};
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
    if (!format.openGop)
        codec.flags |= AV_CODEC_FLAG_CLOSED_GOP;
    av_opt_set_int(codec.priv_data, "sc_threshold", 1000000000, 0);
    av_opt_set(codec.priv_data, "x265-params", "log-level=error:scenecut=0", 0);
    if (rawOutput->oformat->flags & AVFMT_GLOBALHEADER)
        codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Options encoderOptions(format.encoderOptions);
    int result = avcodec_open2(&codec, encoder, &encoderOptions.dictionary);
    if (result < 0) {
        error = "cannot open encoder: " + ErrorText(result);
        return false;
    }
    if (!encoderOptions.AllUsed(error))
        return false;
    state_->nextPts = format.firstPts;
    avcodec_parameters_from_context(state_->stream->codecpar, &codec);
    state_->stream->time_base = codec.time_base;
    state_->stream->avg_frame_rate = codec.framerate;
    state_->stream->r_frame_rate = codec.framerate;
    if (format.displayRotation != 0) {
        auto* matrix = reinterpret_cast<int32_t*>(av_stream_new_side_data(
            state_->stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
        if (!matrix) {
            error = "out of memory";
            return false;
        }
        av_display_rotation_set(matrix, format.displayRotation);
    }

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
    if (format.hdr10)
        sws_setColorspaceDetails(state_->scaler.get(), sws_getCoefficients(SWS_CS_DEFAULT), 1,
                                 sws_getCoefficients(SWS_CS_BT2020), 0, 0, 1 << 16, 1 << 16);
    if (format.sound && !OpenSound(format, error))
        return false;
    if (!(rawOutput->oformat->flags & AVFMT_NOFILE)) {
        result = avio_open(&rawOutput->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (result < 0) {
            error = "cannot write " + path + ": " + ErrorText(result);
            return false;
        }
    }
    Options muxerOptions(format.muxerOptions);
    result = avformat_write_header(rawOutput, &muxerOptions.dictionary);
    if (result < 0) {
        error = "cannot write the header: " + ErrorText(result);
        return false;
    }
    if (!muxerOptions.AllUsed(error))
        return false;
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

bool ClipEncoder::OpenSound(const ClipFormat& format, std::string& error) {
    const AVCodec* encoder = avcodec_find_encoder_by_name("mp2");
    state_->audioStream = avformat_new_stream(state_->output.get(), nullptr);
    if (!encoder || !state_->audioStream) {
        error = "no encoder mp2";
        return false;
    }
    state_->audioCodec.reset(avcodec_alloc_context3(encoder));
    state_->audioFrame.reset(av_frame_alloc());
    if (!state_->audioCodec || !state_->audioFrame) {
        error = "out of memory";
        return false;
    }
    AVCodecContext& codec = *state_->audioCodec;
    codec.sample_fmt = AV_SAMPLE_FMT_S16;
    codec.sample_rate = format.sampleRate;
    codec.bit_rate = 128000;
    codec.time_base = AVRational{1, format.sampleRate};
    av_channel_layout_default(&codec.ch_layout, 1);
    const int result = avcodec_open2(&codec, encoder, nullptr);
    if (result < 0) {
        error = "cannot open the sound encoder: " + ErrorText(result);
        return false;
    }
    avcodec_parameters_from_context(state_->audioStream->codecpar, &codec);
    state_->audioStream->time_base = codec.time_base;
    return true;
}

bool ClipEncoder::EncodeTone(bool all, std::string& error) {
    State& state = *state_;
    AVCodecContext& codec = *state.audioCodec;
    const auto frameSize = static_cast<size_t>(codec.frame_size);
    size_t done = 0;
    while (state.tone.size() - done >= frameSize || (all && done < state.tone.size())) {
        AVFrame& frame = *state.audioFrame;
        av_frame_unref(&frame);
        frame.format = codec.sample_fmt;
        frame.nb_samples = codec.frame_size;
        frame.sample_rate = codec.sample_rate;
        av_channel_layout_copy(&frame.ch_layout, &codec.ch_layout);
        if (av_frame_get_buffer(&frame, 0) < 0) {
            error = "out of memory";
            return false;
        }
        const size_t count = std::min(frameSize, state.tone.size() - done);
        auto* samples = reinterpret_cast<int16_t*>(frame.data[0]);
        std::copy_n(state.tone.begin() + static_cast<std::ptrdiff_t>(done), count, samples);
        std::fill(samples + count, samples + frameSize, int16_t{0});
        frame.pts = state.toneSamples - static_cast<int64_t>(state.tone.size() - done);
        done += count;
        const int result = avcodec_send_frame(&codec, &frame);
        if (result < 0) {
            error = "encoding the sound failed: " + ErrorText(result);
            return false;
        }
        if (!state.Drain(codec, *state.audioStream, error))
            return false;
    }
    state.tone.erase(state.tone.begin(), state.tone.begin() + static_cast<std::ptrdiff_t>(done));
    return true;
}

bool ClipEncoder::WriteTone(double untilSeconds, double hertz, std::string& error) {
    State& state = *state_;
    if (!state.audioCodec)
        return true;
    const double rate = state.audioCodec->sample_rate;
    const auto until = static_cast<int64_t>(std::llround(untilSeconds * rate));
    for (; state.toneSamples < until; ++state.toneSamples) {
        state.tone.push_back(static_cast<int16_t>(std::lround(9000.0 * std::sin(state.phase))));
        state.phase =
            std::fmod(state.phase + 2.0 * std::numbers::pi * hertz / rate, 2.0 * std::numbers::pi);
    }
    return EncodeTone(false, error);
}

bool ClipEncoder::CanDrain() const {
    return state_->codec && (state_->codec->codec->capabilities & AV_CODEC_CAP_DELAY) != 0;
}

void ClipEncoder::SetNextPts(int64_t pts) {
    state_->nextPts = pts;
}

bool ClipEncoder::Finish(std::string& error) {
    if (!state_->headerWritten)
        return false;
    avcodec_send_frame(state_->codec.get(), nullptr);
    if (!state_->Drain(error))
        return false;
    if (state_->audioCodec) {
        if (!EncodeTone(true, error))
            return false;
        avcodec_send_frame(state_->audioCodec.get(), nullptr);
        if (!state_->Drain(*state_->audioCodec, *state_->audioStream, error))
            return false;
    }
    const int result = av_write_trailer(state_->output.get());
    if (result < 0) {
        error = "cannot finish the file: " + ErrorText(result);
        return false;
    }
    return true;
}

}  // namespace trevanto::clipgen

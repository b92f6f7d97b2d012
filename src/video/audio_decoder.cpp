#include "video/audio_decoder.h"

#include <algorithm>

#include "video/media_input.h"

namespace trevanto {

AudioDecoder::AudioDecoder(const std::atomic<bool>& abort)
    : abort_(abort), watch_(abort), packet_(ffmpeg::MakePacket()) {}

bool AudioDecoder::Open(const std::string& url, double videoOriginSeconds, MediaError& error) {
    if (!packet_) {
        error = {MediaErrorCode::OutOfMemory, {}};
        return false;
    }
    const GuardedInput input = GuardInput(url);
    if (input.kind == InputKind::Refused || CheckLocalFile(input)) {
        error = {MediaErrorCode::CannotOpen, {}};
        return false;
    }
    // A trickling server holds the sound's open no longer than the video's.
    if (input.kind == InputKind::Network)
        watch_.Arm(kDefaultAnswerWindow, nullptr);
    ffmpeg::InputStep failedStep = ffmpeg::InputStep::Open;
    const int opened = ffmpeg::OpenInput(input, watch_, input_, failedStep);
    watch_.Disarm();
    if (opened < 0) {
        error = {failedStep == ffmpeg::InputStep::Open ? MediaErrorCode::CannotOpen
                                                       : MediaErrorCode::CannotRead,
                 ffmpeg::ErrorText(opened)};
        return false;
    }
    AVFormatContext* raw = input_.get();
    const AVCodec* decoder = nullptr;
    streamIndex_ = ffmpeg::SelectOnlyStream(*raw, AVMEDIA_TYPE_AUDIO, decoder);
    if (streamIndex_ < 0) {
        error = {MediaErrorCode::NoAudioStream, {}};
        return false;
    }
    const AVStream* stream = raw->streams[streamIndex_];
    timeBase_ = stream->time_base;
    originSeconds_ = videoOriginSeconds;
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_ || avcodec_parameters_to_context(codec_.get(), stream->codecpar) < 0) {
        error = {MediaErrorCode::OutOfMemory, {}};
        return false;
    }
    codec_->pkt_timebase = stream->time_base;
    if (avcodec_open2(codec_.get(), decoder, nullptr) < 0 || codec_->sample_rate <= 0) {
        error = {MediaErrorCode::DecoderRefused, {}};
        return false;
    }
    return true;
}

AudioDecodeResult AudioDecoder::DecodeNext(AVFrame& samples, double& seconds) {
    for (;;) {
        const int received = avcodec_receive_frame(codec_.get(), &samples);
        if (received == 0) {
            const int64_t stamp = samples.best_effort_timestamp;
            seconds = stamp == AV_NOPTS_VALUE
                          ? nextSeconds_
                          : static_cast<double>(stamp) * av_q2d(timeBase_) - originSeconds_;
            nextSeconds_ = seconds + static_cast<double>(samples.nb_samples) / codec_->sample_rate;
            return AudioDecodeResult::Samples;
        }
        if (received == AVERROR_EOF)
            return AudioDecodeResult::End;
        if (received != AVERROR(EAGAIN))
            return AudioDecodeResult::Error;
        if (draining_)
            return AudioDecodeResult::End;
        const int read = av_read_frame(input_.get(), packet_.get());
        if (read == AVERROR_EOF) {
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (read < 0)
            return abort_ ? AudioDecodeResult::Error : AudioDecodeResult::End;
        if (packet_->stream_index == streamIndex_) {
            // A damaged packet is skipped: the sound goes on after it.
            avcodec_send_packet(codec_.get(), packet_.get());
        }
        av_packet_unref(packet_.get());
    }
}

bool AudioDecoder::SeekTo(double seconds) {
    avcodec_flush_buffers(codec_.get());
    draining_ = false;
    nextSeconds_ = std::max(seconds, 0.0);
    const auto stamp =
        static_cast<int64_t>((originSeconds_ + std::max(seconds, 0.0)) / av_q2d(timeBase_));
    return av_seek_frame(input_.get(), streamIndex_, stamp, AVSEEK_FLAG_BACKWARD) >= 0 ||
           av_seek_frame(input_.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0;
}

}  // namespace trevanto

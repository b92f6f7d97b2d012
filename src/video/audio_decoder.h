#pragma once
// The sound half of the playback graph: a demuxer of its own on the same URL
// (so that the frame-exact video decoder never waits for sound) that decodes
// the best audio stream. Times are seconds on the video's time line: 0 is
// the stream time of the video's frame 0. Used by one thread at a time.
#include <atomic>
#include <string>

#include "video/ffmpeg_handles.h"
#include "video/media_error.h"
#include "video/media_input.h"

namespace trevanto {

enum class AudioDecodeResult { Samples, End, Error };

class AudioDecoder {
  public:
    // `abort` is polled while reading blocks; once set, every read fails.
    explicit AudioDecoder(const std::atomic<bool>& abort);

    // False with a reason when the URL has no audio stream that decodes.
    // `videoOriginSeconds` is the stream time of the video's frame 0.
    bool Open(const std::string& url, double videoOriginSeconds, MediaError& error);
    // The next decoded frame of samples and the time of its first sample.
    AudioDecodeResult DecodeNext(AVFrame& samples, double& seconds);
    // Positions the stream at or before `seconds`; the caller drops what
    // comes before.
    bool SeekTo(double seconds);
    // The decoded samples' format, rate and channel layout.
    const AVCodecContext& Codec() const { return *codec_; }

  private:
    const std::atomic<bool>& abort_;
    ffmpeg::InputWatch watch_;  // outlives the input it watches
    ffmpeg::InputPtr input_;
    ffmpeg::CodecPtr codec_;
    ffmpeg::PacketPtr packet_;
    int streamIndex_ = -1;
    AVRational timeBase_{1, 1};
    double originSeconds_ = 0.0;  // stream time of time 0
    double nextSeconds_ = 0.0;    // where samples without a time of their own go
    bool draining_ = false;
};

}  // namespace trevanto

#pragma once
// Opening an FFmpeg input for one of its streams, shared by the video and the
// sound decoders: each reads the same URL through a demuxer of its own.
#include <atomic>
#include <chrono>
#include <string>

#include "video/ffmpeg_handles.h"
#include "video/input_guard.h"

namespace trevanto::ffmpeg {

enum class InputStep { Open, ReadInfo };

// What FFmpeg's interrupt callback and its hook for the inputs a demuxer
// opens consult. Reads give up once `abort` is set. While armed (a network
// stream opening) they give up too when the user cancels or when the
// stream delivers too little in a window, so that a server trickling a
// byte a second cannot hold the open for ever; once the stream is open
// (and may be paused for a long time) only `abort` counts. Lives as long
// as the input it watches.
class InputWatch {
  public:
    explicit InputWatch(const std::atomic<bool>& abort) : abort_(abort) {}
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    void Arm(std::chrono::milliseconds window, const std::atomic<bool>* cancel);
    void Disarm() { armed_ = false; }
    bool Starved() const { return starved_; }
    bool Cancelled() const { return cancel_ && cancel_->load(); }

    // FFmpeg's interrupt callback; `watch` is the InputWatch.
    static int Interrupt(void* watch);
    void Watch(AVFormatContext* context) { context_ = context; }

  private:
    bool GiveUp();

    using Clock = std::chrono::steady_clock;
    const std::atomic<bool>& abort_;
    const std::atomic<bool>* cancel_ = nullptr;
    AVFormatContext* context_ = nullptr;
    bool armed_ = false;
    bool starved_ = false;
    std::chrono::milliseconds window_{0};
    Clock::time_point windowStart_;
    int64_t windowBytes_ = 0;
};

// Opens `input` (guarded: see input_guard.h) and reads its stream
// information, with `watch` as its interrupt callback; every input a
// demuxer opens in turn is guarded the same way. Reads also give up after
// 15 s without data. 0 on success; else the FFmpeg error code, with the
// step that failed in `failedStep`.
int OpenInput(const GuardedInput& input, InputWatch& watch, InputPtr& context,
              InputStep& failedStep);

// The best stream of `type` and its decoder; every other stream is
// discarded, so the demuxer skips their packets. The stream's index, or a
// negative FFmpeg error code (AVERROR_DECODER_NOT_FOUND when no decoder).
int SelectOnlyStream(AVFormatContext& input, AVMediaType type, const AVCodec*& decoder);

// FFmpeg's text for an error code.
std::string ErrorText(int code);

}  // namespace trevanto::ffmpeg

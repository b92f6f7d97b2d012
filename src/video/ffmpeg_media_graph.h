#pragma once
// The playback graph on FFmpeg: a streaming thread decodes the video
// (VideoDecoder), converts each frame into a pooled RGB32 surface and queues
// it as a repaint event. The owner steers the thread through a mailbox of
// requests (state, seek, rate, pacing) set under the mutex; the thread acts
// on them outside the mutex and holds it only to queue events. No call of
// the owner ever waits for the thread's work.
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "picture/surface_pool.h"
#include "video/audio_output.h"
#include "video/conversion_worker.h"
#include "video/media_graph.h"
#include "video/sound_track.h"
#include "video/video_decoder.h"
#include "video/worker_thread.h"

namespace trevanto {

class FfmpegMediaGraph final : public MediaGraph {
  public:
    // `audioOutput` makes the device the sound goes to, once it is asked;
    // without one the graph plays no sound.
    explicit FfmpegMediaGraph(AudioOutputFactory audioOutput = nullptr);
    ~FfmpegMediaGraph() override;

    // Opens the stream, decodes its first frame and starts the streaming
    // thread. Call once.
    bool Open(const OpenRequest& request, OpenError& error);

    bool Run() override;
    bool Pause() override;
    bool Stop() override;
    GraphState GetState() const override;
    bool GetCurrentPosition(double& seconds) const override;
    bool PutCurrentPosition(double seconds) override;
    double DurationSeconds() const override { return duration_; }
    bool LengthUnknown() const override { return lengthUnknown_; }
    double Rate() const override;
    bool SetRate(double rate) override;
    double AvgTimePerFrame() const override { return reportedFrameSeconds_; }
    bool VideoSize(int& width, int& height) const override;
    std::shared_ptr<const std::vector<double>> PictureSeconds() const override;
    bool GetEvent(GraphEvent& event) override;
    void SetNotify(std::function<void()> notify) override;
    void SetPaced(bool paced) override;
    void SetDeliverEveryFrame(bool every) override;
    void SetThumbnailSize(int width, int height) override;
    void SetPlaybackFrames(bool wanted) override;
    void SetSoundWanted(bool wanted) override;
    bool HasSound() const override;
    void SetSoundVolume(double level) override;

  private:
    using Clock = std::chrono::steady_clock;

    // A frame converted for delivery, with its thumbnail when one was asked.
    struct Converted {
        std::shared_ptr<const Surface> frame;
        std::shared_ptr<const Surface> thumbnail;
        bool Empty() const { return !frame && !thumbnail; }
    };
    struct ThumbnailSize {
        int width = 0;
        int height = 0;
    };

    // One round of the streaming thread: a seek, the end or the next frame.
    void Stream(WorkerThread::Lock& lock);
    bool ShouldWake() const;
    bool SeekAndDeliver(std::unique_lock<std::mutex>& lock);
    // Decodes past the frames before `frame` into held_, keeping the last
    // frame of the stream; false when a seek or a state change came first.
    bool PlayOneFrame(std::unique_lock<std::mutex>& lock);
    // Without `wholeFrame` only the thumbnail is made, when one is asked.
    Converted Convert(const DecodedFrame& frame, bool decodeAhead, ThumbnailSize thumbnailSize,
                      bool wholeFrame);
    std::shared_ptr<Surface> AcquireThumbnail(ThumbnailSize size);
    void Deliver(std::unique_lock<std::mutex>& lock, GraphEvent event);
    // The sound falls silent; the streaming thread starts it again with the
    // pacing clock. Owner's thread.
    void HaltSound();
    // When held_ is due: from the sound heard while `sound` plays, else from
    // the wall clock anchored when the pacing clock started.
    Clock::time_point DueTime(SoundTrack* sound, uint64_t clock, double rate);

    // Made once the picture index is read (owner's thread).
    mutable std::shared_ptr<const std::vector<double>> pictureSeconds_;

    // Fixed once opened.
    double duration_ = 0.0;
    double reportedFrameSeconds_ = 0.0;
    double frameSeconds_ = 0.04;
    int width_ = 0;
    int height_ = 0;  // upright
    Orientation orientation_;
    bool seekable_ = false;
    bool lengthUnknown_ = false;

    // Streaming thread only (and Open before the thread starts).
    std::atomic<bool> abort_{false};
    VideoDecoder decoder_;
    ConversionWorker worker_;
    std::unique_ptr<SurfacePool> pool_;
    std::unique_ptr<SurfacePool> thumbnailPool_;  // made when thumbnails are first asked
    DecodedFrame held_;                           // decoded, not yet delivered
    bool holding_ = false;
    Converted ready_;         // held_ converted, when it is
    DecodedFrame lookahead_;  // the frame after held_, decoded during its conversion
    bool haveLookahead_ = false;
    DecodeResult lookaheadResult_ = DecodeResult::Frame;  // the end, met decoding ahead
    bool atEnd_ = false;
    bool failed_ = false;
    uint64_t completedRun_ = 0;  // the run that saw the end
    uint64_t anchoredClock_ = ~uint64_t{0};
    Clock::time_point anchorTime_;
    double anchorSeconds_ = 0.0;
    int lateInARow_ = 0;
    uint64_t soundClock_ = ~uint64_t{0};  // the pacing clock the sound was started for

    // The sound, opened when first asked (owner's thread, before it is
    // published under mutex_).
    AudioOutputFactory audioOutput_;
    std::string url_;
    double videoOriginSeconds_ = 0.0;
    bool soundOpened_ = false;
    double volume_ = 1.0;

    // The mailbox and the event queue, under mutex_.
    mutable std::mutex mutex_;
    GraphState state_ = GraphState::Stopped;
    double rate_ = 1.0;
    bool paced_ = true;
    bool everyFrame_ = false;
    ThumbnailSize thumbnailSize_;  // 0 x 0: none asked
    bool playbackFrames_ = true;
    bool soundWanted_ = false;
    std::shared_ptr<SoundTrack> sound_;  // null: no sound, or none asked
    bool seekPending_ = false;
    int64_t seekTarget_ = 0;
    uint64_t seekSerial_ = 0;
    uint64_t runSerial_ = 1;    // counts Run calls that started playing
    uint64_t clockSerial_ = 0;  // bumped when pacing must start afresh
    std::deque<GraphEvent> events_;
    int repaintsWaiting_ = 0;
    double position_ = 0.0;
    std::shared_ptr<const std::function<void()>> notify_;

    WorkerThread thread_{mutex_};  // the streaming thread
};

}  // namespace trevanto

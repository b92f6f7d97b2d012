#pragma once
// The graph's sound: decodes the best audio stream of the video on a thread
// of its own, converts it to the output's format and keeps the output fed.
// The graph starts it from a picture's time and reads back the time heard,
// which then paces the pictures.
//
// Generations: every Start and Halt carries the graph's clock serial; a
// Start older than the last Halt is ignored, so that a pause racing with the
// streaming thread never leaves sound playing.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "video/audio_decoder.h"
#include "video/audio_output.h"
#include "video/audio_resampler.h"
#include "video/worker_thread.h"

namespace trevanto {

class SoundTrack {
  public:
    // Opens the sound of `url` and the output; null when either is missing.
    // `videoOriginSeconds`: the stream time of the video's frame 0.
    static std::unique_ptr<SoundTrack> Open(const std::string& url, double videoOriginSeconds,
                                            std::unique_ptr<AudioOutput> output);
    ~SoundTrack();
    SoundTrack(const SoundTrack&) = delete;
    SoundTrack& operator=(const SoundTrack&) = delete;

    // Plays from `seconds` on the video's time line; what was buffered is
    // dropped first.
    void Start(double seconds, uint64_t generation);
    // Falls silent at once.
    void Halt(uint64_t generation);
    // The time of the sound heard now, while the sound of `generation`
    // plays; none before its first sample is heard and after its last.
    std::optional<double> Heard(uint64_t generation);
    void SetVolume(double level);

  private:
    explicit SoundTrack(std::unique_ptr<AudioOutput> output);
    // One round of the track's thread: a request, or topping up the output.
    void Round(WorkerThread::Lock& lock);
    bool Restart(double seconds);
    // Writes what the output takes; false once the sound has ended.
    bool Fill();
    // Decodes the next samples into pending_, trimmed or padded so that they
    // start at nextSeconds_; false at the end.
    bool NextSamples();
    void Take(const AVFrame& samples, double seconds);

    std::atomic<bool> abort_{false};
    AudioDecoder decoder_;
    const std::unique_ptr<AudioOutput> output_;
    AudioFormat format_;  // the output's, once opened

    // The track's thread only.
    std::optional<AudioResampler> resampler_;
    ffmpeg::FramePtr frame_;
    std::vector<int16_t> converted_;
    std::vector<int16_t> pending_;
    size_t pendingAt_ = 0;
    double nextSeconds_ = 0.0;  // time of the next sample to be queued
    int64_t writtenFrames_ = 0;

    // Held while the output is restarted or its time read, so that a time
    // is never read across a restart.
    std::mutex outputMutex_;
    // Requests and what plays, under mutex_.
    std::mutex mutex_;
    bool startPending_ = false;
    bool haltPending_ = false;
    double startSeconds_ = 0.0;
    uint64_t startGeneration_ = 0;
    uint64_t haltedGeneration_ = 0;
    bool playing_ = false;
    bool ended_ = false;
    uint64_t playingGeneration_ = 0;
    double playingFrom_ = 0.0;
    double writtenSeconds_ = 0.0;

    WorkerThread thread_{mutex_};
};

}  // namespace trevanto

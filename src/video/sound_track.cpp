#include "video/sound_track.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace trevanto {
namespace {

// How often the output is topped up while it plays.
constexpr auto kFillInterval = std::chrono::milliseconds(10);
// A gap in the sound longer than this is not filled with silence: the
// sound jumps over it.
constexpr double kMaxGapSeconds = 2.0;
// Program streams seek imprecisely: when the sound lands after the wanted
// time, the seek goes this much further back, then to the start.
constexpr double kSeekStepsBack[] = {0.0, 1.0, 4.0};

}  // namespace

std::unique_ptr<SoundTrack> SoundTrack::Open(const std::string& url, double videoOriginSeconds,
                                             std::unique_ptr<AudioOutput> output) {
    if (!output)
        return nullptr;
    // The file first: a video without sound never opens the device.
    std::unique_ptr<SoundTrack> track(new SoundTrack(std::move(output)));
    MediaError error;  // a video without sound is no fault: nothing to tell
    AudioFormat& format = track->format_;
    if (!track->decoder_.Open(url, videoOriginSeconds, error) || !track->output_->Open(format) ||
        format.sampleRate <= 0 || format.channels <= 0)
        return nullptr;
    track->resampler_.emplace(format.sampleRate, format.channels);
    track->output_->Stop();
    track->thread_.Start([track = track.get()](WorkerThread::Lock& lock) { track->Round(lock); });
    return track;
}

SoundTrack::SoundTrack(std::unique_ptr<AudioOutput> output)
    : decoder_(abort_), output_(std::move(output)), frame_(ffmpeg::MakeFrame()) {}

SoundTrack::~SoundTrack() {
    thread_.RequestStop();
    abort_ = true;  // a read under way ends too
    thread_.Stop();
    output_->Stop();
}

void SoundTrack::Start(double seconds, uint64_t generation) {
    {
        const std::lock_guard lock(mutex_);
        if (generation < haltedGeneration_)
            return;
        startPending_ = true;
        haltPending_ = false;
        startSeconds_ = seconds;
        startGeneration_ = generation;
    }
    thread_.Wake();
}

void SoundTrack::Halt(uint64_t generation) {
    {
        const std::lock_guard lock(mutex_);
        haltedGeneration_ = std::max(haltedGeneration_, generation);
        if (startPending_ && startGeneration_ < haltedGeneration_)
            startPending_ = false;
        haltPending_ = !startPending_;
    }
    thread_.Wake();
}

std::optional<double> SoundTrack::Heard(uint64_t generation) {
    const std::lock_guard outputLock(outputMutex_);
    double from = 0.0;
    double written = 0.0;
    bool ended = false;
    {
        const std::lock_guard lock(mutex_);
        if (!playing_ || startPending_ || haltPending_ || playingGeneration_ != generation)
            return std::nullopt;
        from = playingFrom_;
        written = writtenSeconds_;
        ended = ended_;
    }
    const double heard = output_->HeardSeconds();
    if (heard <= 0.0 || (ended && heard >= written))
        return std::nullopt;
    return from + std::min(heard, written);
}

void SoundTrack::SetVolume(double level) {
    output_->SetVolume(std::clamp(level, 0.0, 1.0));
}

void SoundTrack::Round(WorkerThread::Lock& lock) {
    const auto asked = [this] { return startPending_ || haltPending_; };
    if (playing_ && !ended_) {
        thread_.WaitUntil(lock, WorkerThread::Clock::now() + kFillInterval, asked);
    } else {
        thread_.Wait(lock, asked);
    }
    if (thread_.Stopping())
        return;
    if (startPending_) {
        const double from = startSeconds_;
        const uint64_t generation = startGeneration_;
        startPending_ = false;
        playing_ = false;
        lock.unlock();
        const bool started = Restart(from);
        lock.lock();
        playing_ = started;
        ended_ = !started;
        playingGeneration_ = generation;
        playingFrom_ = from;
        writtenSeconds_ = 0.0;
    } else if (haltPending_) {
        haltPending_ = false;
        playing_ = false;
        lock.unlock();
        {
            const std::lock_guard outputLock(outputMutex_);
            output_->Stop();
        }
        lock.lock();
    } else if (playing_ && !ended_) {
        lock.unlock();
        const bool more = Fill();
        lock.lock();
        writtenSeconds_ = static_cast<double>(writtenFrames_) / format_.sampleRate;
        ended_ = !more;
    }
}

bool SoundTrack::Restart(double seconds) {
    {
        const std::lock_guard outputLock(outputMutex_);
        output_->Stop();
    }
    pending_.clear();
    pendingAt_ = 0;
    writtenFrames_ = 0;
    resampler_->Reset();
    nextSeconds_ = seconds;
    // The first samples must start at or before the wanted time.
    double first = 0.0;
    AudioDecodeResult result = AudioDecodeResult::End;
    for (const double back : kSeekStepsBack) {
        if (!decoder_.SeekTo(seconds - back))
            continue;
        result = decoder_.DecodeNext(*frame_, first);
        if (result != AudioDecodeResult::Samples || first <= seconds + 0.001 ||
            seconds - back <= 0.0)
            break;
    }
    if (result == AudioDecodeResult::Samples)
        Take(*frame_, first);
    const std::lock_guard outputLock(outputMutex_);
    return output_->Start();
}

bool SoundTrack::Fill() {
    const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(format_.channels);
    for (;;) {
        if (pendingAt_ == pending_.size()) {
            pending_.clear();
            pendingAt_ = 0;
            if (!NextSamples())
                return false;
            continue;
        }
        const size_t writable = output_->Writable() / frameBytes * frameBytes;
        if (writable == 0)
            return true;
        const size_t bytes = std::min(writable, (pending_.size() - pendingAt_) * sizeof(int16_t));
        const size_t taken = output_->Write(pending_.data() + pendingAt_, bytes) / frameBytes;
        pendingAt_ += taken * static_cast<size_t>(format_.channels);
        writtenFrames_ += static_cast<int64_t>(taken);
        if (taken * frameBytes < bytes)
            return true;
    }
}

bool SoundTrack::NextSamples() {
    while (pending_.empty()) {
        double seconds = 0.0;
        const AudioDecodeResult result = decoder_.DecodeNext(*frame_, seconds);
        if (result != AudioDecodeResult::Samples)
            return false;
        Take(*frame_, seconds);
    }
    return true;
}

void SoundTrack::Take(const AVFrame& samples, double seconds) {
    converted_.clear();
    if (!resampler_->Convert(samples, converted_))
        return;  // samples that cannot be converted are skipped
    const auto channels = static_cast<size_t>(format_.channels);
    const double rate = format_.sampleRate;
    const auto offset = static_cast<int64_t>(std::llround((seconds - nextSeconds_) * rate));
    size_t skip = 0;
    if (offset > 0 && static_cast<double>(offset) < kMaxGapSeconds * rate) {
        // Sound that starts late is preceded by silence.
        pending_.insert(pending_.end(), static_cast<size_t>(offset) * channels, int16_t{0});
    } else if (offset < 0) {
        // Sound from before the wanted time is dropped.
        skip = std::min(static_cast<size_t>(-offset) * channels, converted_.size());
    }
    pending_.insert(pending_.end(), converted_.begin() + static_cast<std::ptrdiff_t>(skip),
                    converted_.end());
    const double end = seconds + static_cast<double>(converted_.size() / channels) / rate;
    nextSeconds_ = std::max(nextSeconds_, end);
}

}  // namespace trevanto

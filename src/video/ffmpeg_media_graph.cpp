#include "video/ffmpeg_media_graph.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "video/thumbnail_decoding.h"

namespace trevanto {
namespace {

// Paced playback: repaint events the owner has not taken yet beyond which
// further frames count as late.
constexpr int kMaxRepaintsWaiting = 3;
// Paced playback drops late frames, but shows one of this many in a row
// anyway, so that a video too heavy to decode in time still moves.
constexpr int kMaxLateInARow = 8;
// While the sound paces the pictures, the time heard is read this often
// while a frame waits.
constexpr auto kSoundClockPoll = std::chrono::milliseconds(5);

// The sound plays at normal speed only: other rates keep the wall clock
// and play no sound.
bool NormalRate(double rate) {
    return std::abs(rate - 1.0) < 1e-3;
}

}  // namespace

FfmpegMediaGraph::FfmpegMediaGraph(AudioOutputFactory audioOutput)
    : decoder_(abort_), audioOutput_(std::move(audioOutput)) {}

FfmpegMediaGraph::~FfmpegMediaGraph() {
    thread_.RequestStop();
    abort_ = true;  // a read under way ends too
    thread_.Stop();
}

bool FfmpegMediaGraph::Open(const OpenRequest& request, OpenError& error) {
    const std::string& url = request.url;
    if (!decoder_.Open(request, error))
        return false;
    duration_ = decoder_.DurationSeconds();
    reportedFrameSeconds_ = decoder_.ReportedFrameSeconds();
    frameSeconds_ = decoder_.FrameSeconds();
    // Shown upright: frames, the size reported and the thumbnails.
    orientation_ = decoder_.DisplayOrientation();
    width_ = orientation_.UprightWidth(decoder_.Width(), decoder_.Height());
    height_ = orientation_.UprightHeight(decoder_.Width(), decoder_.Height());
    seekable_ = decoder_.Seekable() && duration_ > 0.0;
    lengthUnknown_ = decoder_.Seekable() && duration_ <= 0.0;
    url_ = url;
    videoOriginSeconds_ = decoder_.OriginSeconds();
    pool_ = std::make_unique<SurfacePool>(width_, height_);
    thread_.Start([this](WorkerThread::Lock& lock) { Stream(lock); });
    return true;
}

bool FfmpegMediaGraph::Run() {
    {
        const std::lock_guard lock(mutex_);
        if (state_ != GraphState::Running) {
            state_ = GraphState::Running;
            ++runSerial_;
            ++clockSerial_;
        }
    }
    thread_.Wake();
    return true;
}

bool FfmpegMediaGraph::Pause() {
    {
        const std::lock_guard lock(mutex_);
        state_ = GraphState::Paused;
    }
    HaltSound();
    thread_.Wake();
    return true;
}

bool FfmpegMediaGraph::Stop() {
    {
        const std::lock_guard lock(mutex_);
        state_ = GraphState::Stopped;
    }
    HaltSound();
    thread_.Wake();
    return true;
}

void FfmpegMediaGraph::HaltSound() {
    std::shared_ptr<SoundTrack> sound;
    uint64_t clock = 0;
    {
        const std::lock_guard lock(mutex_);
        clock = ++clockSerial_;
        sound = sound_;
    }
    if (sound)
        sound->Halt(clock);
}

GraphState FfmpegMediaGraph::GetState() const {
    const std::lock_guard lock(mutex_);
    return state_;
}

bool FfmpegMediaGraph::GetCurrentPosition(double& seconds) const {
    const std::lock_guard lock(mutex_);
    seconds = position_;
    return true;
}

bool FfmpegMediaGraph::PutCurrentPosition(double seconds) {
    if (!seekable_ || !(seconds >= 0.0))
        return false;
    const auto target = static_cast<int64_t>(seconds / frameSeconds_ + 0.5);
    {
        const std::lock_guard lock(mutex_);
        seekPending_ = true;
        seekTarget_ = target;
        ++seekSerial_;
        // Frames queued before the seek are stale: the next repaint event
        // must be the sought frame. So is an end not yet taken: playback goes
        // on from the new position.
        std::erase_if(events_, [](const GraphEvent& e) {
            return e.code == GraphEventCode::Repaint || e.code == GraphEventCode::Complete ||
                   e.code == GraphEventCode::SeekMissed;
        });
        repaintsWaiting_ = 0;
        position_ = static_cast<double>(target) * frameSeconds_;
    }
    HaltSound();  // a seek never plays the old position's sound
    thread_.Wake();
    return true;
}

double FfmpegMediaGraph::Rate() const {
    const std::lock_guard lock(mutex_);
    return rate_;
}

bool FfmpegMediaGraph::SetRate(double rate) {
    if (!(rate > 0.0) || !std::isfinite(rate))
        return false;
    {
        const std::lock_guard lock(mutex_);
        rate_ = rate;
        ++clockSerial_;
    }
    HaltSound();  // other rates play no sound; normal speed starts it again
    thread_.Wake();
    return true;
}

bool FfmpegMediaGraph::VideoSize(int& width, int& height) const {
    width = width_;
    height = height_;
    return width_ > 0 && height_ > 0;
}

std::shared_ptr<const std::vector<double>> FfmpegMediaGraph::PictureSeconds() const {
    if (!pictureSeconds_ && decoder_.RateVaries())
        pictureSeconds_ = decoder_.PictureSeconds();
    return pictureSeconds_;
}

bool FfmpegMediaGraph::GetEvent(GraphEvent& event) {
    {
        const std::lock_guard lock(mutex_);
        if (events_.empty())
            return false;
        event = std::move(events_.front());
        events_.pop_front();
        if (event.code != GraphEventCode::Repaint)
            return true;
        --repaintsWaiting_;
        position_ = event.frameSeconds;
    }
    thread_.Wake();  // an unpaced thread waits for this
    return true;
}

void FfmpegMediaGraph::SetNotify(std::function<void()> notify) {
    auto shared =
        notify ? std::make_shared<const std::function<void()>>(std::move(notify)) : nullptr;
    const std::lock_guard lock(mutex_);
    notify_ = std::move(shared);
}

void FfmpegMediaGraph::SetPaced(bool paced) {
    {
        const std::lock_guard lock(mutex_);
        paced_ = paced;
        ++clockSerial_;
    }
    HaltSound();  // unpaced runs play no sound
    thread_.Wake();
}

void FfmpegMediaGraph::SetDeliverEveryFrame(bool every) {
    {
        const std::lock_guard lock(mutex_);
        everyFrame_ = every;
    }
    HaltSound();
    thread_.Wake();
}

void FfmpegMediaGraph::SetThumbnailSize(int width, int height) {
    const std::lock_guard lock(mutex_);
    thumbnailSize_ = width > 0 && height > 0 ? ThumbnailSize{width, height} : ThumbnailSize{};
}

void FfmpegMediaGraph::SetPlaybackFrames(bool wanted) {
    const std::lock_guard lock(mutex_);
    playbackFrames_ = wanted;
}

void FfmpegMediaGraph::SetSoundWanted(bool wanted) {
    // Opened once, on the first ask: a second demuxer of the same URL and
    // the device.
    std::shared_ptr<SoundTrack> opened;
    if (wanted && !soundOpened_) {
        soundOpened_ = true;
        opened =
            audioOutput_ ? SoundTrack::Open(url_, videoOriginSeconds_, audioOutput_()) : nullptr;
        if (opened)
            opened->SetVolume(volume_);
    }
    {
        const std::lock_guard lock(mutex_);
        soundWanted_ = wanted;
        if (opened)
            sound_ = std::move(opened);
        ++clockSerial_;  // the streaming thread starts or halts the sound
    }
    if (!wanted)
        HaltSound();
    thread_.Wake();
}

bool FfmpegMediaGraph::HasSound() const {
    const std::lock_guard lock(mutex_);
    return soundWanted_ && sound_;
}

void FfmpegMediaGraph::SetSoundVolume(double level) {
    volume_ = level;
    std::shared_ptr<SoundTrack> sound;
    {
        const std::lock_guard lock(mutex_);
        sound = sound_;
    }
    if (sound)
        sound->SetVolume(level);
}

// Streaming thread from here on.

bool FfmpegMediaGraph::ShouldWake() const {
    if (seekPending_)
        return true;
    if (state_ != GraphState::Running)
        return false;
    if (atEnd_)
        return !failed_ && completedRun_ != runSerial_;  // Run again at the end
    // Unpaced, the next frame is made ready while the owner works on the
    // last one; it is delivered once that one is taken.
    return paced_ || repaintsWaiting_ == 0 || ready_.Empty();
}

void FfmpegMediaGraph::Stream(WorkerThread::Lock& lock) {
    thread_.Wait(lock, [this] { return ShouldWake(); });
    if (thread_.Stopping())
        return;
    if (seekPending_) {
        SeekAndDeliver(lock);
    } else if (atEnd_) {
        completedRun_ = runSerial_;
        Deliver(lock, GraphEvent{GraphEventCode::Complete, nullptr, 0.0, nullptr});
    } else {
        PlayOneFrame(lock);
    }
}

void FfmpegMediaGraph::Deliver(std::unique_lock<std::mutex>& lock, GraphEvent event) {
    if (event.code == GraphEventCode::Repaint)
        ++repaintsWaiting_;
    events_.push_back(std::move(event));
    const std::shared_ptr<const std::function<void()>> notify = notify_;
    lock.unlock();
    if (notify)
        (*notify)();
    lock.lock();
}

std::shared_ptr<Surface> FfmpegMediaGraph::AcquireThumbnail(ThumbnailSize size) {
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    std::shared_ptr<Surface> thumbnail = thumbnailPool_ ? thumbnailPool_->Acquire() : nullptr;
    if (!thumbnail || thumbnail->Width() != size.width || thumbnail->Height() != size.height) {
        thumbnail.reset();
        thumbnailPool_ = std::make_unique<SurfacePool>(size.width, size.height);
        thumbnail = thumbnailPool_->Acquire();
    }
    return thumbnail;
}

FfmpegMediaGraph::Converted FfmpegMediaGraph::Convert(const DecodedFrame& frame, bool decodeAhead,
                                                      ThumbnailSize thumbnailSize,
                                                      bool wholeFrame) {
    const AVFrame& picture = *frame.picture;
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    // The thumbnail is shrunk from the decoded picture by the same worker:
    // far cheaper for the owner than shrinking the RGB32 frame.
    std::shared_ptr<Surface> thumbnail = AcquireThumbnail(thumbnailSize);
    std::shared_ptr<Surface> surface;
    if (wholeFrame || !thumbnail) {
        // A stream may change its picture size midway.
        const int width = orientation_.UprightWidth(picture.width, picture.height);
        const int height = orientation_.UprightHeight(picture.width, picture.height);
        surface = pool_->Acquire();
        if (!surface || surface->Width() != width || surface->Height() != height) {
            surface.reset();
            pool_ = std::make_unique<SurfacePool>(width, height);
            surface = pool_->Acquire();
        }
        if (!surface)
            return {};
    }
    worker_.Start(picture, surface.get(), thumbnail.get(), orientation_);
    // The next frame is decoded while this one is converted.
    // Not while the picture index is read: the first frame would wait for it.
    if (decodeAhead && !haveLookahead_ && lookaheadResult_ == DecodeResult::Frame &&
        !decoder_.IndexPending()) {
        const DecodeResult result = decoder_.DecodeNext(lookahead_);
        if (result == DecodeResult::Frame) {
            haveLookahead_ = true;
        } else {
            lookaheadResult_ = result;
        }
    }
    if (!worker_.Wait())
        return {};
    if (surface)
        // The sample aspect ratio is the stored picture's: a quarter turn
        // swaps a pixel's sides.
        surface->SetPixelAspect(orientation_.SwapsSides() ? 1.0 / frame.pixelAspect
                                                          : frame.pixelAspect);
    if (!worker_.ThumbnailMade())
        thumbnail.reset();
    return {std::move(surface), std::move(thumbnail)};
}

bool FfmpegMediaGraph::SeekAndDeliver(std::unique_lock<std::mutex>& lock) {
    const int64_t target = seekTarget_;
    const uint64_t serial = seekSerial_;
    const ThumbnailSize thumbnailSize = thumbnailSize_;
    seekPending_ = false;
    lock.unlock();
    holding_ = false;
    ready_ = {};
    haveLookahead_ = false;
    lookaheadResult_ = DecodeResult::Frame;
    const DecodeResult result = decoder_.SeekTo(target, held_);
    Converted converted;
    if (result == DecodeResult::Frame)
        converted = Convert(held_, false, thumbnailSize, true);
    lock.lock();
    atEnd_ = false;
    failed_ = false;
    anchoredClock_ = ~uint64_t{0};  // pacing starts afresh from the sought frame
    if (serial != seekSerial_ || seekPending_)
        return false;  // superseded
    if (!converted.frame) {
        // Whoever waits for the sought frame learns that none comes.
        Deliver(lock, GraphEvent{GraphEventCode::SeekMissed, nullptr, 0.0, nullptr});
        return false;
    }
    Deliver(lock, GraphEvent{GraphEventCode::Repaint, std::move(converted.frame), held_.seconds,
                             std::move(converted.thumbnail)});
    return true;
}

FfmpegMediaGraph::Clock::time_point FfmpegMediaGraph::DueTime(SoundTrack* sound, uint64_t clock,
                                                              double rate) {
    if (anchoredClock_ != clock) {
        anchoredClock_ = clock;
        anchorTime_ = Clock::now();
        anchorSeconds_ = held_.playSeconds;
    }
    if (soundClock_ != clock) {
        // The sound starts afresh with the pacing clock, from this frame.
        soundClock_ = clock;
        if (sound)
            sound->Start(held_.playSeconds, clock);
    }
    // The picture follows the sound heard: the clock is anchored on it anew
    // for every frame, and goes on from the last time heard when the sound
    // ends.
    if (sound) {
        if (const std::optional<double> heard = sound->Heard(clock)) {
            anchorTime_ = Clock::now();
            anchorSeconds_ = *heard;
        }
    }
    return anchorTime_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                             (held_.playSeconds - anchorSeconds_) / rate));
}

bool FfmpegMediaGraph::PlayOneFrame(std::unique_lock<std::mutex>& lock) {
    const bool paced = paced_;
    const double rate = rate_;
    const uint64_t clock = clockSerial_;
    const uint64_t serial = seekSerial_;
    const ThumbnailSize thumbnailSize = thumbnailSize_;
    const bool playbackFrames = playbackFrames_;
    // Whole frames may be made: the pictures are decoded whole.
    const bool wholeFramesWanted = playbackFrames || thumbnailSize.width <= 0;
    // Only paced playback at normal speed that may drop frames plays sound.
    const std::shared_ptr<SoundTrack> sound =
        paced && soundWanted_ && !everyFrame_ && NormalRate(rate) ? sound_ : nullptr;
    lock.unlock();

    // Thumbnails alone come from pictures decoded at half size where that
    // covers the thumbnail (tested).
    decoder_.SetReducedResolution(
        wholeFramesWanted
            ? 0
            : ThumbnailReduction(width_, height_, thumbnailSize.width, thumbnailSize.height));

    if (!holding_) {
        ready_ = {};
        DecodeResult result = DecodeResult::Frame;
        if (haveLookahead_) {
            std::swap(held_, lookahead_);
            haveLookahead_ = false;
        } else if (lookaheadResult_ != DecodeResult::Frame) {
            result = std::exchange(lookaheadResult_, DecodeResult::Frame);
        } else {
            result = decoder_.DecodeNext(held_);
        }
        if (result != DecodeResult::Frame) {
            lock.lock();
            if (serial != seekSerial_ || seekPending_)
                return false;  // a seek moves on
            atEnd_ = true;
            failed_ = result == DecodeResult::Error;
            completedRun_ = runSerial_;
            Deliver(lock,
                    GraphEvent{failed_ ? GraphEventCode::ErrorAbort : GraphEventCode::Complete,
                               nullptr, 0.0, nullptr});
            return false;
        }
        holding_ = true;
    }
    if (wholeFramesWanted && held_.reduced) {
        // Whole frames are wanted again: the held one is decoded anew.
        ready_ = {};
        haveLookahead_ = false;
        lookaheadResult_ = DecodeResult::Frame;
        if (decoder_.SeekTo(held_.number, held_) != DecodeResult::Frame) {
            holding_ = false;  // skipped, as a picture that cannot be converted
            lock.lock();
            return false;
        }
    }

    if (paced) {
        auto due = DueTime(sound.get(), clock, rate);
        const auto lateLimit = due + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(frameSeconds_ / rate));
        lock.lock();
        const auto interrupted = [&] {
            return thread_.Stopping() || seekPending_ || state_ != GraphState::Running ||
                   clockSerial_ != clock;
        };
        if (everyFrame_) {
            // Nothing is dropped: a late frame waits for the owner to catch
            // up, is shown at once and the clock goes on from it.
            thread_.Wait(lock,
                         [&] { return interrupted() || repaintsWaiting_ < kMaxRepaintsWaiting; });
            if (interrupted())
                return false;  // keep the frame for later
            lateInARow_ = 0;
        }
        const bool late = Clock::now() > lateLimit || repaintsWaiting_ >= kMaxRepaintsWaiting;
        if (late && !everyFrame_ && ++lateInARow_ < kMaxLateInARow) {
            holding_ = false;  // dropped
            return false;
        }
        if (late)
            anchoredClock_ = ~uint64_t{0};
        lateInARow_ = 0;
        for (;;) {
            // With sound, the time heard is read again while the frame
            // waits: the sound may start later or run slower than the wall
            // clock.
            const auto now = Clock::now();
            if (now >= due)
                break;
            const auto until = sound ? std::min(due, now + kSoundClockPoll) : due;
            if (thread_.WaitUntil(lock, until, interrupted))
                return false;  // keep the frame for later
            if (sound) {
                lock.unlock();
                due = DueTime(sound.get(), clock, rate);
                lock.lock();
            }
        }
        lock.unlock();
    }

    // Converted outside the mutex; unpaced, this overlaps with the owner
    // still working on the previous frame.
    if (ready_.Empty()) {
        ready_ = Convert(held_, true, thumbnailSize, playbackFrames);
    }
    lock.lock();
    if (thread_.Stopping() || seekPending_ || serial != seekSerial_ ||
        state_ != GraphState::Running)
        return false;  // paused meanwhile: the frame waits
    if (ready_.Empty()) {
        holding_ = false;  // a picture that cannot be converted is skipped
        return false;
    }
    if (!paced && repaintsWaiting_ > 0)
        return false;  // delivered once the owner took the last
    holding_ = false;
    Converted delivered = std::exchange(ready_, Converted{});
    Deliver(lock, GraphEvent{GraphEventCode::Repaint, std::move(delivered.frame), held_.seconds,
                             std::move(delivered.thumbnail)});
    return true;
}

}  // namespace trevanto

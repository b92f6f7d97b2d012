#include "video/player.h"

#include <cmath>
#include <utility>

#include "common/paths.h"
#include "video/debug_trace.h"
#include "video/frame_clock.h"
#include "video/refused_formats.h"

namespace trevanto {
namespace {

// Rates closer than this to the graph's rate are not set again.
constexpr double kRateTolerance = 0.1 - 1e-6;

}  // namespace

Player::Player(MediaGraphFactory factory, PlayerListener& listener)
    : factory_(std::move(factory)), listener_(listener) {}

Player::~Player() {
    graph_.reset();
}

void Player::SetGraphNotify(std::function<void()> notify) {
    notify_ = std::move(notify);
    if (graph_)
        graph_->SetNotify(notify_);
}

void Player::SetPaced(bool paced) {
    paced_ = paced;
    if (graph_)
        graph_->SetPaced(paced);
}

void Player::SetDeliverEveryFrame(bool every) {
    everyFrame_ = every;
    if (graph_)
        graph_->SetDeliverEveryFrame(every);
}

void Player::SetThumbnailSize(int width, int height) {
    thumbnailWidth_ = width;
    thumbnailHeight_ = height;
    if (graph_)
        graph_->SetThumbnailSize(width, height);
}

void Player::SetPlaybackFrames(bool wanted) {
    playbackFrames_ = wanted;
    if (graph_)
        graph_->SetPlaybackFrames(wanted);
}

void Player::SetSoundWanted(bool wanted) {
    soundWanted_ = wanted;
    if (graph_)
        graph_->SetSoundWanted(wanted);
}

void Player::SetSoundVolume(double level) {
    soundVolume_ = level;
    if (graph_)
        graph_->SetSoundVolume(level);
}

bool Player::OpenVideo(const std::string& path) {
    if (!listener_.SetUpSurfaces()) {
        listener_.OnOpenFailed(OpenFailure::NoSurfaces);
        listener_.CheckButton(PlayerButton::Play, false);
        return false;
    }
    if (graph_) {
        StopGraph();
        state_ = PlayerState::Stopped;
        listener_.OnPlaybackStopped();
    }
    CloseVideo();

    OpenError error;
    std::unique_ptr<MediaGraph> graph =
        factory_ ? factory_(OpenRequest{path, answerWindow_, nullptr}, error) : nullptr;
    if (!graph) {
        DebugTrace("cannot open %s: %s\r\n", path.c_str(),
                   MediaErrorText(error.cause, path).c_str());
        listener_.OnOpenFailed(UndecodableFailure(path, error.failure));
        return false;
    }
    int width = 0;
    int height = 0;
    if (!graph->VideoSize(width, height) || width == 0 || height == 0) {
        listener_.OnOpenFailed(UndecodableFailure(path, OpenFailure::CannotPlay));
        return false;
    }
    graph_ = std::move(graph);
    graph_->SetPaced(paced_);
    graph_->SetDeliverEveryFrame(everyFrame_);
    graph_->SetThumbnailSize(thumbnailWidth_, thumbnailHeight_);
    graph_->SetPlaybackFrames(playbackFrames_);
    graph_->SetSoundVolume(soundVolume_);
    graph_->SetSoundWanted(soundWanted_);
    graph_->SetNotify(notify_);

    state_ = PlayerState::Stopped;
    seekIssued_ = false;
    lastScrubFrame_ = -1;
    presentedSeconds_.reset();
    // The marks of the previous video must not steer the first Play.
    rangeStart_ = rangeEnd_ = -1;
    PlayRangeChanged(-1, -1);
    Play();

    openedPath_ = path;
    listener_.OnVideoOpened(FileNamePart(path), FrameCount());
    if (soundWanted_)
        listener_.OnSoundChecked(graph_->HasSound());
    SetRate(1.0f);
    return true;
}

void Player::CloseVideo() {
    graph_.reset();
    frameSurface_.reset();
    frameThumbnail_.reset();
    presentedSeconds_.reset();
    frameAwaited_ = false;
    const bool wasOpen = state_ != PlayerState::Closed;
    state_ = PlayerState::Closed;
    if (wasOpen)
        listener_.OnVideoClosed();
}

void Player::StopGraph() {
    graph_->Pause();
    graph_->PutCurrentPosition(0.0);
    presentedSeconds_.reset();
    graph_->GetState();
    graph_->Stop();
}

void Player::Play() {
    seekIssued_ = false;
    if (!IsOpen()) {
        listener_.OnPlayWithoutVideo();
        return;
    }
    if (state_ == PlayerState::Stopped || state_ == PlayerState::Paused) {
        if (rangeStart_ != -1 && FrameCount() > 0) {
            const int32_t current = CurrentFrame();
            if (current < rangeStart_ || (rangeEnd_ != -1 && current > rangeEnd_)) {
                SeekToFrame(rangeStart_);
            }
        }
        if (graph_->Run()) {
            state_ = PlayerState::Running;
            listener_.CheckButton(PlayerButton::Play, true);
            listener_.CheckButton(PlayerButton::Pause, false);
            listener_.CheckButton(PlayerButton::Stop, false);
            return;
        }
    }
    listener_.CheckButton(PlayerButton::Play, false);
    if (state_ == PlayerState::Running) {
        Pause();
    } else {
        listener_.OnNoVideo();
    }
}

void Player::Pause() {
    seekIssued_ = false;
    if ((state_ == PlayerState::Running || state_ == PlayerState::Stopped) && graph_->Pause()) {
        state_ = PlayerState::Paused;
        listener_.CheckButton(PlayerButton::Play, false);
        listener_.CheckButton(PlayerButton::Pause, true);
        listener_.CheckButton(PlayerButton::Stop, false);
        return;
    }
    listener_.CheckButton(PlayerButton::Pause, false);
    if (state_ == PlayerState::Paused) {
        Play();  // a second Pause resumes
    } else {
        listener_.OnNoVideo();
    }
}

void Player::Stop() {
    seekIssued_ = false;
    if (state_ != PlayerState::Paused && state_ != PlayerState::Running) {
        listener_.OnNoVideo();
        return;
    }
    StopGraph();
    state_ = PlayerState::Stopped;
    listener_.CheckButton(PlayerButton::Play, false);
    listener_.CheckButton(PlayerButton::Pause, false);
    listener_.CheckButton(PlayerButton::Stop, true);
    listener_.OnPlaybackStopped();
}

void Player::TogglePlayPause() {
    if (!IsOpen())
        return;
    if (state_ == PlayerState::Running) {
        Pause();
    } else {
        Play();
    }
}

void Player::AbortStop() {
    if (state_ != PlayerState::Paused && state_ != PlayerState::Running) {
        listener_.OnNoVideo();
        return;
    }
    graph_->Stop();
    graph_->PutCurrentPosition(0.0);
    presentedSeconds_.reset();
    state_ = PlayerState::Stopped;
    listener_.OnPlaybackStopped();
}

void Player::SetRate(float rate) {
    if (!IsOpen())
        return;
    rate_ = rate;
    if (std::fabs(graph_->Rate() - static_cast<double>(rate)) >= kRateTolerance) {
        graph_->SetRate(rate);
    }
}

void Player::SetMark(MarkSide side, bool shift) {
    if (!IsOpen()) {
        listener_.OnNoVideo();
        return;
    }
    const bool start = side == MarkSide::Start;
    int32_t& mark = start ? rangeStart_ : rangeEnd_;
    int32_t& other = start ? rangeEnd_ : rangeStart_;
    if (shift) {
        mark = -1;
        PlayRangeChanged(rangeStart_, rangeEnd_);
        return;
    }
    const int32_t current = CurrentFrame();
    const int32_t frames = FrameCount();
    if (current < 0 || frames < 1)
        return;
    if (other != -1 && (start ? current > other : current < other)) {
        // Marking a start after the end (an end before the start): the
        // marks swap roles.
        mark = other;
        other = current;
    } else {
        mark = current;
    }
    PlayRangeChanged(rangeStart_, rangeEnd_);
}

bool Player::SetPlayRange(int32_t start, int32_t end) {
    const int32_t frames = FrameCount();
    if (!IsOpen() || frames < 1)
        return false;
    if (start < -1 || start >= frames || end < -1 || end >= frames)
        return false;
    if (start != -1 && end != -1 && end < start)
        return false;
    rangeStart_ = start;
    rangeEnd_ = end;
    PlayRangeChanged(start, end);
    return true;
}

double Player::DurationSeconds() const {
    return IsOpen() ? graph_->DurationSeconds() : 0.0;
}

double Player::AvgTimePerFrame() const {
    if (!graph_)
        return 0.0;
    const double seconds = graph_->AvgTimePerFrame();
    return seconds <= 0.001 ? kDefaultSecondsPerFrame : seconds;
}

double Player::FrameToSeconds(int32_t frame) const {
    return IsOpen() ? trevanto::FrameToSeconds(frame, AvgTimePerFrame()) : 0.0;
}

int32_t Player::SecondsToFrame(double seconds) const {
    return IsOpen() ? trevanto::SecondsToFrame(seconds, AvgTimePerFrame()) : 0;
}

int32_t Player::FrameCount() const {
    return IsOpen() ? SecondsToFrame(DurationSeconds()) : -1;
}

int32_t Player::CurrentFrame() const {
    if (!IsOpen())
        return -1;
    // The frame on show, when one arrived since the last seek: the graph may
    // already be decoding ahead of it.
    if (presentedSeconds_)
        return SecondsToFrame(*presentedSeconds_);
    double seconds = 0.0;
    if (!graph_->GetCurrentPosition(seconds))
        return -1;
    return SecondsToFrame(seconds);
}

bool Player::SeekToSeconds(double seconds) {
    seekIssued_ = true;
    if (!IsOpen() || seconds < 0.0 || DurationSeconds() < seconds)
        return false;
    double old = -1.0;
    if (!graph_->GetCurrentPosition(old))
        old = -1.0;
    presentedSeconds_.reset();
    if (graph_->PutCurrentPosition(seconds))
        return true;
    if (old > -1.0)
        graph_->PutCurrentPosition(old);
    return false;
}

bool Player::SeekToFrame(int32_t frame) {
    return IsOpen() && frame >= 0 && SeekToSeconds(FrameToSeconds(frame));
}

void Player::ScrubToFrame(int32_t frame, bool force) {
    if (force)
        seekIssued_ = false;
    if (!IsOpen() || seekIssued_ || frame == lastScrubFrame_)
        return;
    lastScrubFrame_ = frame;
    DebugTrace("seek at frame = %ld\r\n", static_cast<long>(frame));
    SeekToSeconds(FrameToSeconds(frame));
}

void Player::RewindToRangeStart() {
    if (!graph_)
        return;
    presentedSeconds_.reset();
    graph_->PutCurrentPosition(rangeStart_ == -1 ? 0.0 : FrameToSeconds(rangeStart_));
}

void Player::HandleGraphEvents() {
    GraphEvent event;
    while (graph_ && graph_->GetEvent(event)) {
        HandleGraphEvent(event);
        event = {};
    }
}

bool Player::HandleNextGraphEvent() {
    GraphEvent event;
    if (!graph_ || !graph_->GetEvent(event))
        return false;
    HandleGraphEvent(event);
    return true;
}

void Player::HandleGraphEvent(const GraphEvent& event) {
    if (!IsOpen())
        return;
    switch (event.code) {
        case GraphEventCode::Repaint:
            frameSurface_ = event.frame;
            frameThumbnail_ = event.thumbnail;
            presentedSeconds_ = event.frameSeconds;
            if (frameAwaited_) {
                frameAwaited_ = false;
                listener_.OnAwaitedFrame();
            } else {
                seekIssued_ = false;
                listener_.PresentFrame(PassedRangeEnd());
            }
            break;
        case GraphEventCode::Complete:
            EndOfPlayback(CurrentFrame() + 1);
            return;
        case GraphEventCode::SeekMissed:
            seekIssued_ = false;  // the next drag may seek again
            if (frameAwaited_) {
                frameAwaited_ = false;
                listener_.OnAwaitedFrameMissed();
            }
            return;
        case GraphEventCode::UserAbort:
        case GraphEventCode::ErrorAbort:
            AbortStop();
            return;
    }
    if (PassedRangeEnd())
        EndOfPlayback(CurrentFrame());
}

bool Player::PassedRangeEnd() const {
    return state_ == PlayerState::Running && rangeEnd_ > -1 && FrameCount() > 0 &&
           CurrentFrame() > rangeEnd_;
}

void Player::PlayRangeChanged(int32_t start, int32_t end) {
    listener_.OnPlayRangeChanged(start, end);
}

void Player::EndOfPlayback(int32_t frameAfterEnd) {
    listener_.OnPlaybackEnd(frameAfterEnd);
    if (IsOpen())
        RewindToRangeStart();
}

}  // namespace trevanto

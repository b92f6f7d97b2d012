#pragma once
// The media player: opens a video through a MediaGraph, runs, pauses, stops
// and seeks it, converts between seconds and frames, keeps the play range
// marks, and turns the graph's events into neutral reports to its listener:
// a frame presented (or awaited), the end of the video or of the play range.
//
// Runs on the owner's thread only. The graph's notify callback (set with
// SetGraphNotify) runs on the streaming thread and must only wake the owner,
// which then calls HandleGraphEvents.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "video/media_graph.h"
#include "video/player_listener.h"

namespace trevanto {

enum class PlayerState : int32_t { Closed = 0, Stopped = 1, Paused = 2, Running = 3 };

// Which end of the play range a mark sets.
enum class MarkSide { Start, End };

class Player {
  public:
    Player(MediaGraphFactory factory, PlayerListener& listener);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Installed on every graph the player opens.
    void SetGraphNotify(std::function<void()> notify);
    // The owner's wake-up, for other workers that have something for it.
    const std::function<void()>& GraphNotify() const { return notify_; }
    // Paced playback (default) or every frame as fast as decoding goes.
    void SetPaced(bool paced);
    // How long a stream may deliver next to nothing while it opens
    // (kMinAnswerBytesPerSecond) before the open gives up.
    void SetAnswerWindow(std::chrono::milliseconds window) { answerWindow_ = window; }
    // Paced playback that slows down rather than drop a frame (see
    // MediaGraph::SetDeliverEveryFrame), for this and later graphs.
    void SetDeliverEveryFrame(bool every);
    // Asks every graph the player opens for a thumbnail of this size with
    // each frame (see MediaGraph::SetThumbnailSize); 0 x 0 for none.
    void SetThumbnailSize(int width, int height);
    // Whether played frames come whole or as their thumbnail alone (see
    // MediaGraph::SetPlaybackFrames), for this and later graphs.
    void SetPlaybackFrames(bool wanted);
    bool PlaybackFrames() const { return playbackFrames_; }
    bool Paced() const { return paced_; }
    // Whether graphs open the video's sound and play it (see
    // MediaGraph::SetSoundWanted), for this and later graphs; and its volume,
    // 0 to 1.
    void SetSoundWanted(bool wanted);
    void SetSoundVolume(double level);
    // Sound was asked and plays along.
    bool HasSound() const { return graph_ && graph_->HasSound(); }

    bool OpenVideo(const std::string& path);
    void CloseVideo();

    void Play();
    void Pause();
    void Stop();
    void TogglePlayPause();
    void AbortStop();
    void SetRate(float rate);

    // Marks the current frame as the play range's start or end; `shift`
    // held: the mark is cleared.
    void SetMark(MarkSide side, bool shift);
    // Sets both marks at once (-1 for none), for front ends without a slider.
    // False, changing nothing, when no video is open or a mark lies outside
    // the video or the end lies before the start.
    bool SetPlayRange(int32_t start, int32_t end);

    double DurationSeconds() const;
    double AvgTimePerFrame() const;
    double FrameToSeconds(int32_t frame) const;
    int32_t SecondsToFrame(double seconds) const;
    int32_t FrameCount() const;
    // The open video is a file whose length was not found (MediaGraph).
    bool LengthUnknown() const { return graph_ && graph_->LengthUnknown(); }
    int32_t CurrentFrame() const;
    // Where the rate varies: each frame's own time from frame 0's, once the
    // graph has read it (see MediaGraph::PictureSeconds); null otherwise.
    std::shared_ptr<const std::vector<double>> PictureSeconds() const {
        return IsOpen() ? graph_->PictureSeconds() : nullptr;
    }

    // Seeks when the time lies within the video; a refused seek goes back to
    // where the video was. False when no seek was made: then no frame comes.
    bool SeekToSeconds(double seconds);
    bool SeekToFrame(int32_t frame);
    // A seek while the user drags: one per frame, and none while the last
    // one's picture has not come, unless forced.
    void ScrubToFrame(int32_t frame, bool force);
    void RewindToRangeStart();

    // The next frame to arrive goes to PlayerListener::OnAwaitedFrame
    // instead of being presented (the owner has just sought its frame).
    void AwaitFrame() { frameAwaited_ = true; }
    void CancelAwait() { frameAwaited_ = false; }
    bool FrameAwaited() const { return frameAwaited_; }
    // A frame arrived since the last seek: the frame on show is the current one.
    bool FrameOnShow() const {
        return presentedSeconds_.has_value() && (frameSurface_ || frameThumbnail_);
    }

    // Takes every waiting graph event and handles each.
    void HandleGraphEvents();
    // Takes and handles one waiting event; false when none waits. For front
    // ends that check their own state between events (an unpaced graph never
    // lets its queue run dry while it plays).
    bool HandleNextGraphEvent();
    void HandleGraphEvent(const GraphEvent& event);

    PlayerState State() const { return state_; }
    bool IsOpen() const { return state_ != PlayerState::Closed; }
    const std::string& OpenedPath() const { return openedPath_; }
    float RequestedRate() const { return rate_; }
    bool SeekIssued() const { return seekIssued_; }
    int32_t RangeStart() const { return rangeStart_; }
    int32_t RangeEnd() const { return rangeEnd_; }
    // The frame of the last repaint event; null before the first and for a
    // played frame when the graph was asked for thumbnails alone.
    const std::shared_ptr<const Surface>& FrameSurface() const { return frameSurface_; }
    // The graph's thumbnail of that frame; null when the graph made none.
    const std::shared_ptr<const Surface>& FrameThumbnail() const { return frameThumbnail_; }

  private:
    void StopGraph();
    bool PassedRangeEnd() const;
    void EndOfPlayback(int32_t frameAfterEnd);
    void PlayRangeChanged(int32_t start, int32_t end);

    MediaGraphFactory factory_;
    std::chrono::milliseconds answerWindow_ = kDefaultAnswerWindow;
    PlayerListener& listener_;
    std::function<void()> notify_;
    bool paced_ = true;
    bool everyFrame_ = false;
    int thumbnailWidth_ = 0;
    int thumbnailHeight_ = 0;
    bool playbackFrames_ = true;
    bool soundWanted_ = false;
    double soundVolume_ = 1.0;

    std::unique_ptr<MediaGraph> graph_;
    std::string openedPath_;
    float rate_ = 1.0f;
    PlayerState state_ = PlayerState::Closed;
    bool seekIssued_ = false;
    int32_t lastScrubFrame_ = -1;
    int32_t rangeStart_ = -1;
    int32_t rangeEnd_ = -1;
    bool frameAwaited_ = false;
    std::shared_ptr<const Surface> frameSurface_;
    std::shared_ptr<const Surface> frameThumbnail_;
    // Time of the frame on show; cleared by seeks, which make it unknown.
    std::optional<double> presentedSeconds_;
};

}  // namespace trevanto

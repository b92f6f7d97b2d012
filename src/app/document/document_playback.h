#pragma once
// The document's playback: the transport, the play range's marks, the sound,
// the navigation slider and stepping frame by frame. It drives the
// document's player; a slicing run or a chain of frame jobs owns the
// player's frames while it runs, and a step then takes none from them.
#include <chrono>
#include <cstdint>
#include <optional>

#include "video/player.h"

namespace trevanto {

class FrameJobChain;
class ShotSlicer;

class DocumentPlayback {
  public:
    DocumentPlayback(Player& player, const ShotSlicer& slicer, const FrameJobChain& chain)
        : player_(player), slicer_(slicer), chain_(chain) {}
    DocumentPlayback(const DocumentPlayback&) = delete;
    DocumentPlayback& operator=(const DocumentPlayback&) = delete;

    // The transport of the Media menu and the toolbar; without a video the
    // user is asked for one.
    void Play() { player_.Play(); }
    void Pause() { player_.Pause(); }
    void Stop() { player_.Stop(); }
    void TogglePlayPause() { player_.TogglePlayPause(); }
    void SetRate(float rate) { player_.SetRate(rate); }
    // Sets the play range's mark at the frame on show; `clear` removes it.
    void SetMark(MarkSide side, bool clear) { player_.SetMark(side, clear); }
    // Both marks at once (-1 for none); false, changing nothing, when refused.
    bool SetPlayRange(int32_t start, int32_t end) { return player_.SetPlayRange(start, end); }
    void SeekToFrame(int32_t frame) { player_.SeekToFrame(frame); }
    // The user drags the navigation slider to `position` (0..32767).
    void SeekFromSlider(int32_t position, bool force);

    // Frame by frame: the video pauses and shows exactly the frame asked,
    // clamped to the video. Refused (false) without a video, during a run or
    // while a chain of frame jobs owns the player.
    enum class FrameStep { Previous, Next, SecondBack, SecondForward, First, Last };
    bool StepFrame(FrameStep step);
    bool GoToFrame(int32_t frame);
    // A frame was presented: the next step goes on from the player's frame.
    void OnFramePresented() { stepTarget_.reset(); }

    // The desktop plays the videos' sound; the command line never opens an
    // audio device. Volume 0 to 1 (0 when muted).
    void SetSoundWanted(bool wanted) { player_.SetSoundWanted(wanted); }
    void SetSoundVolume(double level) { player_.SetSoundVolume(level); }
    // A document whose frame shows nothing (the command line) takes played
    // frames as thumbnails alone; sought frames still come whole.
    void SetPlaybackFramesShown(bool shown) { player_.SetPlaybackFrames(shown); }
    // See Player::SetAnswerWindow.
    void SetAnswerWindow(std::chrono::milliseconds window) { player_.SetAnswerWindow(window); }

  private:
    // A step asked before the frame of the last one came goes on from there.
    int32_t StepBase() const;

    Player& player_;
    const ShotSlicer& slicer_;
    const FrameJobChain& chain_;
    // The frame the last step went to, until a frame is presented.
    std::optional<int32_t> stepTarget_;
};

}  // namespace trevanto

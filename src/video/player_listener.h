#pragma once
// What the player reports to its owner, in terms of the video only. The
// document implements this and maps the reports onto its ports, its slicing
// run and its chain of frame jobs.
#include <cstdint>
#include <string>

#include "video/open_failure.h"

namespace trevanto {

// The toolbar buttons whose check state follows the player and the slicer.
enum class PlayerButton { Play, Pause, Stop };

class PlayerListener {
  public:
    virtual ~PlayerListener() = default;

    // A command that needs an open video came with none.
    virtual void OnNoVideo() = 0;
    virtual void CheckButton(PlayerButton button, bool checked) = 0;
    // OpenVideo failed; what was open before stays open.
    virtual void OnOpenFailed(OpenFailure /*failure*/) {}
    // Play was asked with no video open.
    virtual void OnPlayWithoutVideo() {}

    // Makes the document's surfaces before the first video opens. False when
    // they cannot be made; the open then fails.
    virtual bool SetUpSurfaces() { return true; }
    // A video of `frameCount` frames (-1 when unknown) was opened.
    virtual void OnVideoOpened(const std::string& /*fileName*/, int32_t /*frameCount*/) {}
    // Sound was asked for the opened video: whether it plays (false: the
    // video has no sound that decodes, or there is no audio device).
    virtual void OnSoundChecked(bool /*playing*/) {}
    // The graph was torn down.
    virtual void OnVideoClosed() {}
    // The play range marks changed: frames, -1 for none.
    virtual void OnPlayRangeChanged(int32_t /*start*/, int32_t /*end*/) {}

    // Playback stopped (Stop, an abort, another video opened).
    virtual void OnPlaybackStopped() {}
    // A frame arrived and no request waits: present it. `beyondPlayRange` is
    // set when it lies past the play range end during playback; it is then
    // shown but not sliced, since OnPlaybackEnd closes the run at it.
    virtual void PresentFrame(bool /*beyondPlayRange*/) {}
    // The awaited frame arrived (see Player::AwaitFrame); the wait is already
    // over, so the handler may seek and await the next one.
    virtual void OnAwaitedFrame() {}
    // The awaited frame will not come: its seek reached no frame.
    virtual void OnAwaitedFrameMissed() {}
    // The end of the video or of the play range was passed; `frameAfterEnd`
    // is the first frame past what was played. The run closes its shot in
    // progress there and stops; the player then rewinds.
    virtual void OnPlaybackEnd(int32_t /*frameAfterEnd*/) {}
};

}  // namespace trevanto

#pragma once
// What the player needs from its owner. The player never reaches the user
// interface or the slicer itself: the document implements this and forwards
// to its ports and to the slicing run.
#include <cstdint>
#include <string>

#include "video/frame_request.h"

namespace trevanto {

// The toolbar buttons whose check state follows the player and the slicer.
enum class PlayerButton { Play, Pause, Stop, Sampler, Engine };

class PlayerListener {
  public:
    virtual ~PlayerListener() = default;

    virtual void ShowMessage(const std::string& text) = 0;
    virtual void CheckButton(PlayerButton button, bool checked) = 0;
    // Play with no video open: the front end shows its open dialog.
    virtual void PostOpenFileCommand() {}

    // Makes the document's surfaces before the first video opens. False when
    // they cannot be made; the open then fails.
    virtual bool SetUpSurfaces() { return true; }
    // A video was opened: the preview shows its file name; the slider's line
    // size follows its frame count.
    virtual void OnVideoOpened(const std::string& /*fileName*/, int32_t /*sliderLineSize*/) {}
    // The graph was torn down.
    virtual void OnVideoClosed() {}
    // Slider marks as slider positions, -1 to remove.
    virtual void SetSliderStartMark(int32_t /*position*/) {}
    virtual void SetSliderEndMark(int32_t /*position*/) {}

    // A slicing run must end (Stop, an abort, a new open).
    virtual void StopSlicing() {}
    // A frame arrived and no request waits: present it. `beyondPlayRange` is
    // set when it lies past the play range end during playback; it is then
    // shown but not sliced, since OnPlaybackEnd closes the run at it.
    virtual void PresentFrame(bool /*beyondPlayRange*/) {}
    // The requested frame arrived; the request is already cleared, so the
    // handler may issue the next one.
    virtual void RunFrameRequest(const FrameRequest& /*request*/) {}
    // The end of the video or of the play range was passed; `frameAfterEnd`
    // is the first frame past what was played. The run closes its shot in
    // progress there and stops; the player then rewinds.
    virtual void OnPlaybackEnd(int32_t /*frameAfterEnd*/) {}
};

}  // namespace trevanto

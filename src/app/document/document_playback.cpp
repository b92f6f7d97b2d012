#include "app/document/document_playback.h"

#include <algorithm>
#include <cmath>

#include "app/commands/slider_scale.h"
#include "app/jobs/frame_job_chain.h"
#include "shots/shot_slicer.h"

// Frame by frame: the steps of the keys and of the Media menu, and "Go to
// frame...". Each shows exactly the frame asked, paused; the slider's scale
// plays no part, since one of its positions may cover several frames or none.
namespace trevanto {

int32_t DocumentPlayback::StepBase() const {
    // Until the frame of the last step is shown, the player still tells the
    // one before it: quick presses go on from the frame asked last.
    if (stepTarget_ && player_.SeekIssued())
        return *stepTarget_;
    return std::max(0, player_.CurrentFrame());
}

bool DocumentPlayback::StepFrame(FrameStep step) {
    if (!player_.IsOpen())
        return false;
    // A second of video, at least one frame.
    const auto second =
        static_cast<int32_t>(std::max(1L, std::lround(1.0 / player_.AvgTimePerFrame())));
    switch (step) {
        case FrameStep::Previous:
            return GoToFrame(StepBase() - 1);
        case FrameStep::Next:
            return GoToFrame(StepBase() + 1);
        case FrameStep::SecondBack:
            return GoToFrame(StepBase() - second);
        case FrameStep::SecondForward:
            return GoToFrame(StepBase() + second);
        case FrameStep::First:
            return GoToFrame(0);
        case FrameStep::Last:
            return GoToFrame(player_.FrameCount() - 1);
    }
    return false;
}

void DocumentPlayback::SeekFromSlider(int32_t position, bool force) {
    player_.ScrubToFrame(FrameOfSliderPosition(position, kSliderMax, player_.FrameCount()), force);
}

bool DocumentPlayback::GoToFrame(int32_t frame) {
    // A run or a chain of frame jobs owns the player's frames.
    if (!player_.IsOpen() || slicer_.IsActive() || chain_.IsRunning())
        return false;
    const int32_t last = player_.FrameCount() - 1;
    if (last < 0)
        return false;
    frame = std::clamp(frame, 0, last);
    // A second Pause would play again.
    if (player_.State() != PlayerState::Paused)
        player_.Pause();
    player_.SeekToFrame(frame);
    stepTarget_ = frame;
    return true;
}

}  // namespace trevanto

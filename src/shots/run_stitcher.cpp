#include "shots/run_stitcher.h"

namespace trevanto {

bool MayStartShot(const AnalysedFrame* previous, const AnalysedFrame& frame, float userThreshold) {
    if (!previous || !previous->measured || !previous->measured->spreads)
        return true;
    if (!frame.measured || !frame.measured->spreads)
        return false;
    const float threshold = DetectorThreshold(userThreshold, frame.measured->bitsPerPixel);
    return previous->measured->bitsPerPixel != frame.measured->bitsPerPixel ||
           SpreadChange(*frame.measured->spreads, *previous->measured->spreads) > threshold;
}

RunStitcher::RunStitcher(const SlicingSettings& settings, double secondsPerFrame) {
    slicer_.Settings() = settings;
    slicer_.StartEngine(secondsPerFrame);
}

std::optional<StitchedShot> RunStitcher::Add(const AnalysedFrame& frame) {
    if (!frame.measured)
        return std::nullopt;  // unreadable: the run passes it over
    const SliceStep step = slicer_.ProcessMeasured(*frame.measured, frame.frame, false);
    lastMeasured_ = frame.measured;
    lastFrame_ = frame.frame;
    std::optional<StitchedShot> finished;
    if (step.finishedShot)
        finished = StitchedShot{*step.finishedShot, shotStart_};
    // The run's first frame and the one after a cut start the next shot.
    if (step.runStarted || step.finishedShot)
        shotStart_ = frame.picture;
    return finished;
}

std::optional<StitchedShot> RunStitcher::CloseAt(int32_t frameAfterEnd,
                                                 const std::optional<MeasuredFrame>& measured) {
    if (!lastMeasured_)
        return std::nullopt;
    const SliceStep step =
        slicer_.ProcessMeasured(measured ? *measured : *lastMeasured_, frameAfterEnd, true);
    slicer_.StopSlicing();
    if (!step.finishedShot)
        return std::nullopt;
    return StitchedShot{*step.finishedShot, shotStart_};
}

}  // namespace trevanto

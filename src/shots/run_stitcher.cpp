#include "shots/run_stitcher.h"

namespace trevanto {

bool MayStartShot(const AnalysedFrame* previous, const AnalysedFrame& frame,
                  const SlicingSettings& settings) {
    if (settings.detector == ShotDetector::Content) {
        if (!previous || !previous->measured || !previous->measured->content)
            return true;
        return frame.measured && frame.measured->content &&
               MayStartContentShot(*previous->measured->content, *frame.measured->content,
                                   settings.ActiveThreshold());
    }
    const float userThreshold = settings.threshold;
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
    recent_.emplace_back(frame.frame, frame.picture);
    if (recent_.size() > kContentLookAhead + 1)
        recent_.pop_front();
    std::optional<StitchedShot> finished;
    if (step.finishedShot)
        finished = StitchedShot{*step.finishedShot, shotStart_};
    // The run's first frame and the one after a cut start the next shot.
    if (step.runStarted)
        shotStart_ = frame.picture;
    else if (step.finishedShot)
        shotStart_ = PictureAfter(step.finishedShot->end);
    return finished;
}

std::shared_ptr<const Surface> RunStitcher::PictureAfter(int32_t end) const {
    for (const auto& [frame, picture] : recent_)
        if (frame > end)
            return picture;
    return recent_.empty() ? nullptr : recent_.back().second;
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

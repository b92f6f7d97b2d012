#include "shots/shot_slicer.h"

#include <algorithm>

namespace trevanto {

void ShotSlicer::StartEngine(double secondsPerFrame) {
    secondsPerFrame_ = secondsPerFrame;
    mode_ = SlicingMode::Engine;
    engineDetector_ = settings_.detector;
    active_ = true;
    resetPending_ = true;
}

void ShotSlicer::StartSampler(int32_t frameCount, double secondsPerFrame) {
    mode_ = SlicingMode::Sampler;
    active_ = true;
    resetPending_ = true;
    settings_.ComputeStep(frameCount, secondsPerFrame);
}

void ShotSlicer::StopSlicing() {
    active_ = false;
    resetPending_ = true;
}

std::optional<MeasuredFrame> MeasureWholeSurface(Surface& surface, bool content) {
    const LockedPixels pixels = surface.Lock();
    if (!pixels.bits)
        return std::nullopt;
    const FramePixels framePixels{pixels.bits,
                                  pixels.pitch,
                                  pixels.width,
                                  pixels.height,
                                  pixels.format.bitsPerPixel,
                                  pixels.format.redMask,
                                  pixels.format.greenMask,
                                  pixels.format.blueMask};
    MeasuredFrame measured{pixels.format.bitsPerPixel,
                           0,
                           0,
                           pixels.width,
                           pixels.height,
                           MeasureSpreads(framePixels, 0, 0, pixels.width, pixels.height),
                           content ? MeasureContent(framePixels) : std::nullopt};
    surface.Unlock();
    return measured;
}

SliceStep ShotSlicer::ProcessFrame(Surface& surface, int32_t frame, bool force) {
    const std::optional<MeasuredFrame> measured = Measure(surface);
    return measured ? ProcessMeasured(*measured, frame, force) : SliceStep{};
}

std::optional<MeasuredFrame> ShotSlicer::Measure(Surface& surface) const {
    const bool content = mode_ == SlicingMode::Engine && engineDetector_ == ShotDetector::Content;
    return MeasureWholeSurface(surface, content);
}

SliceStep ShotSlicer::ProcessMeasured(const MeasuredFrame& measured, int32_t frame, bool force) {
    if (mode_ == SlicingMode::Engine && engineDetector_ == ShotDetector::Content)
        return ProcessContent(measured, frame, force);
    SliceStep step;
    step.analysed = true;

    // A forced close at a frame already analysed would be skipped by the
    // detector as a repeat; the shot then ends with that frame.
    if (force && lastFrame_ == frame)
        ++frame;

    DetectorInput input;
    if (mode_ == SlicingMode::Engine)
        input.threshold = DetectorThreshold(settings_.threshold, measured.bitsPerPixel);
    if (resetPending_) {
        input.role = FrameRole::StartsRun;
        resetPending_ = false;
        settings_.samplerShotStart = frame;
        step.runStarted = true;
    }
    // The run's first frame starts the shot, forced or not: it closes nothing
    // (not the shot a previous run left in the detector).
    if (force && !step.runStarted)
        input.role = FrameRole::EndsShot;
    DetectorResult result;
    detector_.AnalyseMeasured(measured, frame, input, &result);
    lastFrame_ = frame;
    if (mode_ == SlicingMode::Engine) {
        if (step.runStarted)
            scores_.Begin(secondsPerFrame_, measured.bitsPerPixel, settings_.threshold);
        // A frame the detector skipped as a repeat changes nothing, except
        // that a run starts there.
        if (result.verdict != DetectorVerdict::NotAnalysed || step.runStarted)
            scores_.Add({frame, result.change, step.runStarted, force && !step.runStarted});
    }
    if (step.runStarted)
        return step;

    std::optional<ShotRange> ended;
    if (mode_ == SlicingMode::Sampler)
        ended = SamplerCut(frame, force);
    else if (result.verdict == DetectorVerdict::ShotEnded)
        ended = ShotRange{result.cutStart, result.cutEnd};
    // An empty range ends no shot (a forced close at the shot's first frame).
    if (ended && ended->end >= ended->start)
        step.finishedShot = ended;
    return step;
}

SliceStep ShotSlicer::ProcessContent(const MeasuredFrame& measured, int32_t frame, bool force) {
    SliceStep step;
    if (!measured.content)
        return step;
    step.analysed = true;
    const std::optional<int32_t> before = lastFrame_;
    if (force && before == frame)
        ++frame;
    if (resetPending_) {
        resetPending_ = false;
        step.runStarted = true;
        const float floor = settings_.ThresholdOf(ShotDetector::Content);
        contentScorer_.Start();
        contentRule_.emplace(floor);
        scores_.Begin(secondsPerFrame_, measured.bitsPerPixel, floor, ShotDetector::Content);
    } else if (before == frame) {
        return step;  // a repeat changes nothing
    }
    lastFrame_ = frame;

    std::optional<ShotRange> ended;
    const auto rule = [&](const FrameScore& score, bool settled) {
        scores_.Add(score);
        if (std::optional<ShotRange> shot = contentRule_->Next(score, settled))
            ended = shot;
    };
    // The frames still waiting for their score cut nothing: the run ends
    // or the video jumped back before the frames after them came.
    if ((force || (before && frame < *before)) && !step.runStarted)
        for (const FrameScore& score : contentScorer_.Flush())
            rule(score, false);
    if (force && !step.runStarted)
        rule({frame, 0.0f, false, true}, false);
    else if (const std::optional<FrameScore> score = contentScorer_.Add(frame, *measured.content))
        rule(*score, true);
    if (!step.runStarted)
        step.finishedShot = ended;
    return step;
}

std::optional<ShotRange> ShotSlicer::SamplerCut(int32_t frame, bool force) {
    const int32_t start = settings_.samplerShotStart;
    const int32_t step = settings_.stepFrames;
    const bool insideShot = frame >= start && frame - start < step;
    if (insideShot && !force)
        return std::nullopt;
    settings_.samplerShotStart = frame;
    if (frame >= start) {
        // Also the forced close: the shot in progress runs up to the frame
        // before this one, so no frame since the last cut is left out.
        return ShotRange{start, frame - 1};
    }
    if (int64_t{frame} + step < start) {  // a step may reach 2^31 - 1
        // The video jumped back far: one step from the new position.
        return ShotRange{frame, static_cast<int32_t>(int64_t{frame} + step - 1)};
    }
    return ShotRange{frame, start};
}

}  // namespace trevanto

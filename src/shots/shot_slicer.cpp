#include "shots/shot_slicer.h"

#include <algorithm>

namespace trevanto {

void ShotSlicer::StartEngine(double secondsPerFrame) {
    secondsPerFrame_ = secondsPerFrame;
    mode_ = SlicingMode::Engine;
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

float ShotSlicer::EngineThreshold(float threshold, int bitsPerPixel) {
    if (bitsPerPixel == 15 || bitsPerPixel == 16)
        return (threshold + 4.0f) * 0.125f;
    return threshold;
}

SliceStep ShotSlicer::ProcessFrame(Surface& surface, int32_t frame, bool force) {
    SliceStep step;
    const LockedPixels pixels = surface.Lock();
    if (!pixels.bits)
        return step;
    step.analysed = true;

    // A forced close at a frame already analysed would be skipped by the
    // detector as a repeat; the shot then ends with that frame.
    if (force && lastFrame_ == frame)
        ++frame;

    DetectorReport report;
    report.state = 1;
    report.cutNumber = 0;
    // An empty range, so that a frame the detector skips never yields a shot.
    report.cutStart = 0;
    report.cutEnd = -1;
    report.threshold = 0.0f;
    if (mode_ == SlicingMode::Engine) {
        report.threshold = EngineThreshold(settings_.threshold, pixels.format.bitsPerPixel);
    }
    if (resetPending_) {
        report.state = 0;
        resetPending_ = false;
        settings_.samplerShotStart = frame;
        step.runStarted = true;
    }
    // The run's first frame starts the shot, forced or not: it closes nothing
    // (not the shot a previous run left in the detector).
    if (force && !step.runStarted)
        report.state = 2;
    report.deviation = {128, 128, 128};
    report.change = -1.0f;
    const FramePixels framePixels{pixels.bits,
                                  pixels.pitch,
                                  pixels.width,
                                  pixels.height,
                                  pixels.format.bitsPerPixel,
                                  pixels.format.redMask,
                                  pixels.format.greenMask,
                                  pixels.format.blueMask};
    detector_.AnalyseFrame(framePixels, 0, 0, pixels.width, pixels.height, frame, &report);
    surface.Unlock();
    lastFrame_ = frame;
    if (mode_ == SlicingMode::Engine) {
        if (step.runStarted)
            scores_.Begin(secondsPerFrame_, pixels.format.bitsPerPixel, settings_.threshold);
        // A frame the detector skipped as a repeat changes nothing, except
        // that a run starts there.
        if (report.change >= 0.0f || step.runStarted)
            scores_.Add(
                {frame, std::max(report.change, 0.0f), step.runStarted, force && !step.runStarted});
    }
    if (step.runStarted)
        return step;

    if (mode_ == SlicingMode::Sampler)
        ApplySamplerRule(report, frame, force);
    if (!force && report.state != 2)
        return step;
    if (report.cutEnd < report.cutStart)
        return step;
    step.finishedShot = ShotRange{report.cutStart, report.cutEnd};
    return step;
}

int32_t ShotSlicer::NextSamplerCut() const {
    if (!active_ || mode_ != SlicingMode::Sampler || resetPending_)
        return -1;
    const int64_t next = int64_t{settings_.samplerShotStart} + settings_.stepFrames;
    return static_cast<int32_t>(std::min<int64_t>(next, INT32_MAX));
}

void ShotSlicer::ApplySamplerRule(DetectorReport& report, int32_t frame, bool force) {
    report.state = 1;
    report.cutNumber = 0;
    const int32_t start = settings_.samplerShotStart;
    const int32_t step = settings_.stepFrames;
    const bool insideShot = frame >= start && frame - start < step;
    if (insideShot && !force)
        return;
    report.state = 2;
    if (frame >= start) {
        // Also the forced close: the shot in progress runs up to the frame
        // before this one, so no frame since the last cut is left out.
        report.cutStart = start;
        report.cutEnd = frame - 1;
    } else if (int64_t{frame} + step < start) {  // a step may reach 2^31 - 1
        // The video jumped back far: one step from the new position.
        report.cutStart = frame;
        report.cutEnd = static_cast<int32_t>(int64_t{frame} + step - 1);
    } else {
        report.cutStart = frame;
        report.cutEnd = start;
    }
    settings_.samplerShotStart = frame;
}

}  // namespace trevanto

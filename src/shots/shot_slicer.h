#pragma once
// A slicing run: cuts the playing video into shots, one delivered frame at a
// time. The shot engine lets the FrameChangeDetector find cuts in the
// picture; the shot sampler cuts at a fixed step of frames. Only one runs at
// a time. The slicer decides where shots end; its owner keeps the picture of
// the shot in progress and makes the shots.
#include <cstdint>
#include <optional>

#include "picture/surface.h"
#include "shots/change_scores.h"
#include "shots/content_rule.h"
#include "shots/frame_change_detector.h"
#include "shots/slicing_settings.h"

namespace trevanto {

enum class SlicingMode : int32_t { Sampler = 0, Engine = 1 };

// What one processed frame did.
struct SliceStep {
    // The surface could be read; nothing else holds when it could not.
    bool analysed = false;
    // This frame began the run: it is the first frame of the shot in progress.
    bool runStarted = false;
    // The shot that ended at this frame. Never empty (end >= start).
    std::optional<ShotRange> finishedShot;
};

// What ProcessFrame analyses of a surface: the whole of it, with the content
// detector's features when `content`. Nothing when its pixels cannot be read.
std::optional<MeasuredFrame> MeasureWholeSurface(Surface& surface, bool content = false);

class ShotSlicer {
  public:
    // Both begin a new shot in progress at the next processed frame. The
    // sampler's step is computed from the settings first. The engine keeps
    // the change of every frame it analyses, timed by `secondsPerFrame`, in
    // place of the last engine run's.
    void StartEngine(double secondsPerFrame = 0.04);
    void StartSampler(int32_t frameCount, double secondsPerFrame);
    void StopSlicing();

    bool IsActive() const { return active_; }
    SlicingMode Mode() const { return mode_; }
    SlicingSettings& Settings() { return settings_; }
    const SlicingSettings& Settings() const { return settings_; }
    // The last engine run's scores (see ChangeScores).
    const ChangeScores& Scores() const { return scores_; }
    void ClearScores() { scores_.Clear(); }
    // The shots were cut again from the scores at `threshold`.
    void SetScoresThreshold(float threshold) { scores_.SetRunThreshold(threshold); }

    // Analyses the whole surface as frame `frame`. With `force` the shot in
    // progress ends before this frame whatever the picture says (the end of
    // the video or of the play range).
    SliceStep ProcessFrame(Surface& surface, int32_t frame, bool force);
    // The measures of `surface` that this run's detector reads.
    std::optional<MeasuredFrame> Measure(Surface& surface) const;
    // The same for a picture measured before (MeasureWholeSurface), perhaps
    // on another thread: a run fed the measures of its frames in order gives
    // the steps, shots and scores of a run fed the frames.
    SliceStep ProcessMeasured(const MeasuredFrame& measured, int32_t frame, bool force);

  private:
    // The sampler's rule, in place of the detector's verdict: the shot that
    // ends before `frame`, if any.
    std::optional<ShotRange> SamplerCut(int32_t frame, bool force);
    // The engine with the content detector: its shots end up to
    // kContentLookAhead frames after their last frame.
    SliceStep ProcessContent(const MeasuredFrame& measured, int32_t frame, bool force);

    FrameChangeDetector detector_;
    ContentScorer contentScorer_;
    std::optional<ContentCutRule> contentRule_;
    SlicingSettings settings_;
    ChangeScores scores_;
    double secondsPerFrame_ = 0.04;
    SlicingMode mode_ = SlicingMode::Sampler;
    ShotDetector engineDetector_ = ShotDetector::Spread;  // the engine run's, fixed at its start
    bool active_ = false;
    bool resetPending_ = true;
    std::optional<int32_t> lastFrame_;
};

}  // namespace trevanto

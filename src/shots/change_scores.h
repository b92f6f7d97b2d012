#pragma once
// The shot engine's verdicts kept for a second look: the detector's change
// for every frame one engine run analysed. Cutting again from them at another
// threshold gives the shots a new run over the same frames would give,
// without decoding the video again.
#include <cstdint>
#include <vector>

#include "shots/slicing_settings.h"

namespace trevanto {

struct ShotRange {
    int32_t start = -1;
    int32_t end = -1;
    bool operator==(const ShotRange&) const = default;
};

struct FrameScore {
    int32_t frame = -1;
    // The detector's change against the frame analysed before it; 0 for a
    // run's first frame when the detector had seen it just before.
    float change = 0.0f;
    // The run began here: the frame starts the first shot and ends none.
    bool runStart = false;
    // The run was closed here (end of the video or play range): the shot in
    // progress ends at the frame before, whatever the change.
    bool forced = false;
    bool operator==(const FrameScore&) const = default;
};

// What the engine's cutting rule makes of the scores at a threshold: the
// finished shots in the order found, and per score whether a shot ended
// before it.
struct Recut {
    std::vector<ShotRange> shots;
    std::vector<bool> cutAt;
};
// The rule itself at the detector's `threshold` (see DetectorThreshold).
Recut RecutScores(const std::vector<FrameScore>& scores, float threshold);

// The detector's threshold for the user's: 15- and 16-bit pixels carry 5 or
// 6 bits per channel, so the threshold is scaled down to them. Everything
// that compares a change with the user's threshold goes through here.
float DetectorThreshold(float userThreshold, int bitsPerPixel);

class ChangeScores {
  public:
    // Forgets the scores and starts those of a new run of `detector` at
    // `threshold` (on the detector's scale: SlicingSettings::ActiveThreshold).
    void Begin(double secondsPerFrame, int bitsPerPixel, float threshold,
               ShotDetector detector = ShotDetector::Spread);
    ShotDetector Detector() const { return detector_; }
    // The threshold the shots of the scores were last cut at.
    float RunThreshold() const { return runThreshold_; }
    void SetRunThreshold(float threshold) { runThreshold_ = threshold; }
    void Clear() { *this = ChangeScores{}; }
    void Add(const FrameScore& score) { frames_.push_back(score); }

    const std::vector<FrameScore>& Frames() const { return frames_; }
    bool IsEmpty() const { return frames_.empty(); }
    double SecondsPerFrame() const { return secondsPerFrame_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    double SecondsOf(int32_t frame) const { return frame * secondsPerFrame_; }

    // What the scores give at the user's threshold, as a run at it over the
    // same frames would (the content detector: its floor).
    Recut RecutAt(float userThreshold) const;
    int32_t ShotCountAt(float userThreshold) const;

  private:
    std::vector<FrameScore> frames_;
    double secondsPerFrame_ = 0.04;
    int bitsPerPixel_ = 32;
    float runThreshold_ = 15.0f;
    ShotDetector detector_ = ShotDetector::Spread;
};

}  // namespace trevanto

#include "shots/change_scores.h"

#include "shots/content_rule.h"

namespace trevanto {

void ChangeScores::Begin(double secondsPerFrame, int bitsPerPixel, float threshold,
                         ShotDetector detector) {
    frames_.clear();
    detector_ = detector;
    runThreshold_ = threshold;
    secondsPerFrame_ = secondsPerFrame > 0.0 ? secondsPerFrame : 0.04;
    bitsPerPixel_ = bitsPerPixel;
}

float DetectorThreshold(float userThreshold, int bitsPerPixel) {
    if (bitsPerPixel == 15 || bitsPerPixel == 16)
        return (userThreshold + 4.0f) * 0.125f;
    return userThreshold;
}

Recut ChangeScores::RecutAt(float userThreshold) const {
    if (detector_ == ShotDetector::Content)
        return RecutContent(frames_, userThreshold);
    return RecutScores(frames_, DetectorThreshold(userThreshold, bitsPerPixel_));
}

int32_t ChangeScores::ShotCountAt(float userThreshold) const {
    return static_cast<int32_t>(RecutAt(userThreshold).shots.size());
}

Recut RecutScores(const std::vector<FrameScore>& scores, float threshold) {
    // The detector's rule: a shot is at least two frames long, a frame at or
    // before the last analysed one never cuts, and a jump back restarts the
    // shot in progress.
    Recut result;
    result.cutAt.reserve(scores.size());
    int32_t shotStart = -1;
    int32_t previous = -1;
    for (const FrameScore& score : scores) {
        const int32_t frame = score.frame;
        bool ended = false;
        if (score.runStart) {
            shotStart = frame;
        } else {
            const bool cut = previous < frame && frame > shotStart + 1 && score.change > threshold;
            if (cut || score.forced) {
                ended = frame - 1 >= shotStart;
                if (ended)
                    result.shots.push_back({shotStart, frame - 1});
                shotStart = frame;
            }
            if (previous > frame)
                shotStart = frame;
        }
        result.cutAt.push_back(ended);
        previous = frame;
    }
    return result;
}

}  // namespace trevanto

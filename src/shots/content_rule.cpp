#include "shots/content_rule.h"

#include <algorithm>

namespace trevanto {
namespace {

// A cut's score passes the floor by this many times the mean of its shot's
// latest scores (steady motion scores high all along)...
constexpr float kAboveRecent = 1.5f;
// ...of these many frames.
constexpr size_t kRecentFrames = 12;

}  // namespace

std::optional<FrameScore> ContentScorer::Add(int32_t frame, const ContentFeatures& features) {
    Entry entry{frame, features, {}};
    for (size_t k = 0; k < kReach && k < entries_.size(); ++k)
        entry.back[k] = ContentDistance(entries_[entries_.size() - 1 - k].features, features);
    entries_.push_back(entry);
    if (entries_.size() - next_ <= static_cast<size_t>(kContentLookAhead))
        return std::nullopt;
    const FrameScore score = Score(next_++);
    while (next_ > static_cast<size_t>(kContentLookAhead) + 1) {
        entries_.pop_front();
        --next_;
    }
    return score;
}

std::vector<FrameScore> ContentScorer::Flush() {
    std::vector<FrameScore> scores;
    while (next_ < entries_.size())
        scores.push_back(Score(next_++));
    entries_.clear();
    next_ = 0;
    return scores;
}

void ContentScorer::Start() {
    entries_.clear();
    next_ = 0;
    started_ = false;
}

FrameScore ContentScorer::Score(size_t index) {
    FrameScore score{entries_[index].frame, 0.0f, index == 0 && !started_, false};
    started_ = true;
    if (index == 0)
        return score;
    const size_t firstBefore = index > kContentLookAhead + 1 ? index - kContentLookAhead - 1 : 0;
    const size_t lastAfter = std::min(entries_.size() - 1, index + kContentLookAhead);
    float least = kFadeScore;
    bool blackBefore = true, pictureBefore = true, blackAfter = true, pictureAfter = true;
    for (size_t a = firstBefore; a < index; ++a) {
        blackBefore = blackBefore && entries_[a].features.black;
        pictureBefore = pictureBefore && !entries_[a].features.black;
        for (size_t b = index; b <= lastAfter; ++b)
            least = std::min(least, entries_[b].back[b - a - 1]);
    }
    for (size_t b = index; b <= lastAfter; ++b) {
        blackAfter = blackAfter && entries_[b].features.black;
        pictureAfter = pictureAfter && !entries_[b].features.black;
    }
    const bool fade = (blackBefore && pictureAfter) || (pictureBefore && blackAfter);
    score.change = fade ? kFadeScore : least;
    return score;
}

float ContentCutRule::Baseline() const {
    if (recent_.empty())
        return 0.0f;
    float sum = 0.0f;
    for (const float score : recent_)
        sum += score;
    return sum / static_cast<float>(recent_.size());
}

std::optional<ShotRange> ContentCutRule::Next(const FrameScore& score, bool settled) {
    const int32_t frame = score.frame;
    std::optional<ShotRange> ended;
    bool cut = false;
    if (score.runStart) {
        shotStart_ = frame;
        recent_.clear();
    } else {
        // A shot is at least two frames long, like the spread rule's.
        cut = settled && previous_ < frame && frame > shotStart_ + 1 &&
              score.change > floor_ + kAboveRecent * Baseline();
        if (cut || score.forced) {
            if (frame - 1 >= shotStart_)
                ended = ShotRange{shotStart_, frame - 1};
            shotStart_ = frame;
            recent_.clear();
        }
        if (previous_ > frame) {  // the video jumped back
            shotStart_ = frame;
            recent_.clear();
        }
        if (!cut && !score.forced) {
            recent_.push_back(score.change);
            if (recent_.size() > kRecentFrames)
                recent_.pop_front();
        }
    }
    previous_ = frame;
    return ended;
}

Recut RecutContent(const std::vector<FrameScore>& scores, float floor) {
    Recut result;
    result.cutAt.reserve(scores.size());
    ContentCutRule rule(floor);
    for (size_t i = 0; i < scores.size(); ++i) {
        // Settled when the frames looked ahead at follow in the same run.
        bool settled = i + kContentLookAhead < scores.size();
        for (size_t j = i + 1; settled && j <= i + kContentLookAhead; ++j)
            settled =
                !scores[j].runStart && !scores[j].forced && scores[j].frame > scores[j - 1].frame;
        const std::optional<ShotRange> ended = rule.Next(scores[i], settled);
        if (ended)
            result.shots.push_back(*ended);
        result.cutAt.push_back(ended.has_value());
    }
    return result;
}

bool MayStartContentShot(const ContentFeatures& previous, const ContentFeatures& frame,
                         float floor) {
    return previous.black != frame.black || ContentDistance(previous, frame) > floor;
}

}  // namespace trevanto

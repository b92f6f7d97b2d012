#pragma once
// The content detector's rule. Each frame's score is how unlike the frames
// just before it are to the frames from it on: the least distance between
// any of the kContentLookAhead + 1 frames before and any of the frame and
// the kContentLookAhead after it. A cut keeps every pair apart; a flash of
// up to kContentLookAhead frames, or one damaged frame, leaves a pair of
// alike frames across it and scores low. Where the frames before are all
// black and those after all not (or the other way round), the picture
// appears (or goes): that scores kFadeScore. A frame is cut before when its
// score passes the floor of the sensitivity by more than one and a half
// times the mean of its shot's recent scores, so that steady motion, whose
// frames all score high, does not cut.
//
// The score of a frame needs the frames after it: it is known
// kContentLookAhead frames later, and a frame closer than that to the end of
// a run never cuts. The rule itself reads only the scores, so that cutting
// again from kept scores (RecutContent) gives what the run gave.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "shots/change_scores.h"
#include "shots/content_features.h"

namespace trevanto {

inline constexpr int kContentLookAhead = 2;
inline constexpr float kFadeScore = 100.0f;
// The frames a share of a run (one machine's part of a long video) reads
// past its last: the next share's first kContentLookAhead + 1 frames score
// from the frames before them, which only this share saw, and the last of
// them looks this far ahead.
inline constexpr int kContentShareOverrun = 2 * kContentLookAhead + 1;

// The frames of a run in order, scored as soon as the frames after them came.
class ContentScorer {
  public:
    // Forgets every frame: the next starts a run.
    void Start();
    // The next frame; the frame scored by it, kContentLookAhead frames
    // before, if any. A run's first frame scores 0.
    std::optional<FrameScore> Add(int32_t frame, const ContentFeatures& features);
    // Scores the frames still waiting, oldest first, and forgets every frame
    // (the frame after a jump back has none before it).
    std::vector<FrameScore> Flush();
    bool Empty() const { return entries_.empty(); }

  private:
    // How far apart the frames of a score's pairs may lie.
    static constexpr size_t kReach = 2 * kContentLookAhead + 1;
    struct Entry {
        int32_t frame = 0;
        ContentFeatures features;
        // Its distances to the frames 1 to kReach before it, each taken once.
        std::array<float, kReach> back{};
    };
    FrameScore Score(size_t index);

    std::deque<Entry> entries_;  // the frames before the next to score, then those waiting
    size_t next_ = 0;            // the next frame to score, in entries_
    bool started_ = false;       // the run's first frame was scored
};

// The cutting rule over the scores in frame order, at the least score `floor`.
class ContentCutRule {
  public:
    explicit ContentCutRule(float floor) : floor_(floor) {}
    // The shot that ended before this score's frame, if any. `settled`: the
    // frames its score looked ahead at came in the same run (a cut needs
    // them).
    std::optional<ShotRange> Next(const FrameScore& score, bool settled);

  private:
    float Baseline() const;

    float floor_;
    int32_t shotStart_ = -1;
    int32_t previous_ = -1;
    std::deque<float> recent_;  // the shot's latest scores that cut nothing
};

// The rule over kept scores: the shots a run at `floor` made of them.
Recut RecutContent(const std::vector<FrameScore>& scores, float floor);

// Whether a frame may start a shot, from the frame before it alone: its
// score cannot be higher than their distance, nor reach kFadeScore without
// a change between black and not.
bool MayStartContentShot(const ContentFeatures& previous, const ContentFeatures& frame,
                         float floor);

}  // namespace trevanto

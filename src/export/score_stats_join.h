#pragma once
// The statistics of one long video sliced in shares on several machines,
// joined into those of a single run. Each share's file ends with the frame
// that closed it, which is the next share's first frame: that closing row
// holds the frame's true score (the change from the frame before, which the
// next share did not see), so the joined rows equal a single run's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shots/change_scores.h"

namespace trevanto {

// One statistics file as read back (ParseScoreStats).
struct ScoreStatsPart {
    std::vector<FrameScore> scores;
    std::vector<std::string> timecodes;  // one per score
    ShotDetector detector = ShotDetector::Spread;
};

enum class ScoreStatsJoinProblem : int32_t {
    MixedDetectors,  // a part of another detector than the first
    ContentScores,   // the content detector scores a frame by those after it
    Gap,             // a part starts after the frame the one before closed at
    Overlap,         // a part starts before it
};

struct ScoreStatsJoinError {
    ScoreStatsJoinProblem problem = ScoreStatsJoinProblem::Gap;
    size_t part = 0;        // the part at fault, counted from 0
    int32_t expected = -1;  // Gap, Overlap: the frame it should start at
    int32_t found = -1;     // and the frame it starts at
};

// The parts, in frame order, as one run's statistics; nothing, with the
// first problem in `error`, when they do not join.
std::optional<ScoreStatsPart> JoinScoreStats(const std::vector<ScoreStatsPart>& parts,
                                             ScoreStatsJoinError& error);

}  // namespace trevanto

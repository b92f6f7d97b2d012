#pragma once
// The statistics of one long video sliced in shares on several machines,
// joined into those of a single run. A share cannot score its first frames
// as a single run does, since it did not see the frames before them; the
// share before it did. The spread detector's share file ends with the frame
// that closed it, which is the next share's first frame: that closing row
// holds the frame's true score (the change from the frame before). The
// content detector scores a frame by the frames around it, so its share
// reads kContentShareOverrun frames past its last: its rows of the next
// share's first kContentLookAhead + 1 frames hold their true scores, and
// those rows replace the next share's own. Either way the joined rows equal
// a single run's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shots/change_scores.h"
#include "shots/content_rule.h"

namespace trevanto {

// One statistics file as read back (ParseScoreStats).
struct ScoreStatsPart {
    std::vector<FrameScore> scores;
    std::vector<std::string> timecodes;  // one per score
    ShotDetector detector = ShotDetector::Spread;
};

enum class ScoreStatsJoinProblem : int32_t {
    MixedDetectors,  // a part of another detector than the first
    Gap,             // a part starts after the frame the one before closed at
    Overlap,         // a part starts before it
    ShortOverrun,    // (content) the part before read too few frames past its share
};

struct ScoreStatsJoinError {
    ScoreStatsJoinProblem problem = ScoreStatsJoinProblem::Gap;
    size_t part = 0;        // the part at fault, counted from 0
    int32_t expected = -1;  // Gap, Overlap, ShortOverrun: the frame it should start at
    int32_t found = -1;     // and the frame it starts at
    int32_t lastRead = -1;  // ShortOverrun: the last frame the part before scored
};

// The parts, in frame order, each of a row at least (as ParseScoreStats
// reads them), as one run's statistics; nothing, with the first problem in
// `error`, when they do not join.
std::optional<ScoreStatsPart> JoinScoreStats(const std::vector<ScoreStatsPart>& parts,
                                             ScoreStatsJoinError& error);

}  // namespace trevanto

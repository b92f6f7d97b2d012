#include "export/score_stats_join.h"

namespace trevanto {

std::optional<ScoreStatsPart> JoinScoreStats(const std::vector<ScoreStatsPart>& parts,
                                             ScoreStatsJoinError& error) {
    if (parts.empty())
        return std::nullopt;
    ScoreStatsPart joined;
    joined.detector = parts.front().detector;
    for (size_t i = 0; i < parts.size(); ++i) {
        const ScoreStatsPart& part = parts[i];
        if (part.detector != joined.detector || part.detector == ShotDetector::Content) {
            error = {part.detector != joined.detector ? ScoreStatsJoinProblem::MixedDetectors
                                                      : ScoreStatsJoinProblem::ContentScores,
                     i, -1, -1};
            return std::nullopt;
        }
        size_t from = 0;
        if (i > 0) {
            const FrameScore closing = joined.scores.back();
            const int32_t start = part.scores.front().frame;
            if (start != closing.frame) {
                error = {start > closing.frame ? ScoreStatsJoinProblem::Gap
                                               : ScoreStatsJoinProblem::Overlap,
                         i, closing.frame, start};
                return std::nullopt;
            }
            // The seam: the closing row's score, now an ordinary frame.
            joined.scores.back() = {closing.frame, closing.change, false, false};
            joined.timecodes.back() = part.timecodes.front();
            from = 1;
        }
        joined.scores.insert(joined.scores.end(), part.scores.begin() + static_cast<long>(from),
                             part.scores.end());
        joined.timecodes.insert(joined.timecodes.end(),
                                part.timecodes.begin() + static_cast<long>(from),
                                part.timecodes.end());
    }
    return joined;
}

}  // namespace trevanto

#include "export/score_stats_join.h"

namespace trevanto {
namespace {

// The last frame a part scored: the row before its closing one.
int32_t LastScored(const ScoreStatsPart& part) {
    const size_t rows = part.scores.size();
    return part.scores[rows > 1 ? rows - 2 : 0].frame;
}

void Append(ScoreStatsPart& joined, const ScoreStatsPart& part, size_t from) {
    joined.scores.insert(joined.scores.end(), part.scores.begin() + static_cast<long>(from),
                         part.scores.end());
    joined.timecodes.insert(joined.timecodes.end(),
                            part.timecodes.begin() + static_cast<long>(from), part.timecodes.end());
}

void DropLast(ScoreStatsPart& joined) {
    joined.scores.pop_back();
    joined.timecodes.pop_back();
}

// The spread detector's seam: the closing row of the part before is the
// part's first frame, with the score the part could not see.
bool JoinSpreadSeam(ScoreStatsPart& joined, const ScoreStatsPart& part, size_t index,
                    ScoreStatsJoinError& error) {
    const FrameScore closing = joined.scores.back();
    const int32_t start = part.scores.front().frame;
    if (start != closing.frame) {
        error = {
            start > closing.frame ? ScoreStatsJoinProblem::Gap : ScoreStatsJoinProblem::Overlap,
            index, closing.frame, start};
        return false;
    }
    // The seam: the closing row's score, now an ordinary frame.
    joined.scores.back() = {closing.frame, closing.change, false, false};
    joined.timecodes.back() = part.timecodes.front();
    Append(joined, part, 1);
    return true;
}

// The content detector's seam: the part before read kContentShareOverrun
// frames past its share, so its rows of the part's first kContentLookAhead
// + 1 frames are a single run's; the part's own rows of them saw nothing
// before them. A part before that reached the video's end read fewer.
bool JoinContentSeam(ScoreStatsPart& joined, const std::vector<ScoreStatsPart>& parts, size_t index,
                     ScoreStatsJoinError& error) {
    const ScoreStatsPart& before = parts[index - 1];
    const ScoreStatsPart& part = parts[index];
    const int32_t lastRead = LastScored(before);
    const int32_t shareEnd = lastRead - (kContentShareOverrun - 1);  // the frame after its share
    const bool beforeReachedEnd = before.scores.back().frame == parts.back().scores.back().frame;
    const int32_t start = part.scores.front().frame;
    const bool linedUp =
        start == shareEnd || (beforeReachedEnd && start > shareEnd && start <= lastRead);
    if (!linedUp) {
        // Rows up to the start or just past it: a run that did not read on.
        ScoreStatsJoinProblem problem = ScoreStatsJoinProblem::ShortOverrun;
        if (start < shareEnd)
            problem = ScoreStatsJoinProblem::Overlap;
        else if (start > lastRead + 1)
            problem = ScoreStatsJoinProblem::Gap;
        error = {problem, index, shareEnd, start, lastRead};
        return false;
    }
    const int32_t settledBefore = start + kContentLookAhead;  // the last row taken from before
    DropLast(joined);                                         // its closing row
    while (!joined.scores.empty() && joined.scores.back().frame > settledBefore)
        DropLast(joined);
    size_t from = 0;
    while (from + 1 < part.scores.size() && part.scores[from].frame <= settledBefore)
        ++from;
    Append(joined, part, from);
    return true;
}

}  // namespace

std::optional<ScoreStatsPart> JoinScoreStats(const std::vector<ScoreStatsPart>& parts,
                                             ScoreStatsJoinError& error) {
    if (parts.empty())
        return std::nullopt;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].detector != parts.front().detector) {
            error = {ScoreStatsJoinProblem::MixedDetectors, i, -1, -1};
            return std::nullopt;
        }
    }
    ScoreStatsPart joined;
    joined.detector = parts.front().detector;
    Append(joined, parts.front(), 0);
    for (size_t i = 1; i < parts.size(); ++i) {
        const bool seamed = joined.detector == ShotDetector::Content
                                ? JoinContentSeam(joined, parts, i, error)
                                : JoinSpreadSeam(joined, parts[i], i, error);
        if (!seamed)
            return std::nullopt;
    }
    return joined;
}

}  // namespace trevanto

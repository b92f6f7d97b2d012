// One long video sliced in shares with the content detector, as on several
// machines: the shares' statistics join into a single run's, whatever lies
// at their seams.
#include "document_fixture.h"
#include "export/score_stats.h"
#include "export/score_stats_join.h"

namespace trevanto {
namespace {

using test::Session;

// The statistics of a content run over frames [first, last] (last -1: to
// the end), as a share of the whole run when `share`, read back.
ScoreStatsPart SliceWithContent(int32_t first, int32_t last, bool share) {
    Session s;
    SlicingSettings settings = s.doc.Slicing().Settings();
    settings.detector = ShotDetector::Content;
    s.doc.Slicing().ApplySlicingSettings(settings);
    if (share)
        s.doc.Slicing().SetShareOf(0);
    ScoreStatsPart part;
    if (!s.Open(test::HardCaseClip()) || !s.doc.Playback().SetPlayRange(first, last))
        return part;
    s.doc.Playback().SeekToFrame(first);
    s.doc.Slicing().StartEngine();
    EXPECT_TRUE(s.RunUntil([&] { return !s.doc.Slicing().IsRunning(); }));
    const ChangeScores& scores = s.doc.Slicing().Scores();
    ScoreStatsError error;
    auto parsed = ParseScoreStats(FormatScoreStats(scores, scores.RunThreshold()), error,
                                  &part.detector, &part.timecodes);
    EXPECT_TRUE(parsed.has_value());
    part.scores = parsed.value_or(std::vector<FrameScore>{});
    return part;
}

TEST(DocumentShares, ContentSharesJoinIntoOneRunAtAnySeam) {
    const ScoreStatsPart whole = SliceWithContent(0, -1, false);
    ASSERT_EQ(whole.scores.size(), test::kHardCaseFrames + 1u);
    const struct {
        const char* seam;
        std::vector<int32_t> starts;  // of the shares after the first
    } rows[] = {
        {"a cut on a share's first frame", {test::kBlackShot}},
        {"a cut on a share's second frame", {test::kBlackShot - 1}},
        {"a flash across a seam", {test::kFlashFrame + 1}},
        {"three shares, the fade starting one", {test::kFlashFrame, test::kFadeShot}},
    };
    for (const auto& [seam, starts] : rows) {
        std::vector<ScoreStatsPart> parts;
        for (size_t i = 0; i <= starts.size(); ++i)
            parts.push_back(SliceWithContent(i == 0 ? 0 : starts[i - 1],
                                             i < starts.size() ? starts[i] - 1 : -1, true));
        ScoreStatsJoinError error;
        const auto joined = JoinScoreStats(parts, error);
        ASSERT_TRUE(joined.has_value()) << seam;
        EXPECT_EQ(joined->scores, whole.scores) << seam;
        EXPECT_EQ(joined->timecodes, whole.timecodes) << seam;
    }
    // A plain run before a share did not read on past its end.
    ScoreStatsJoinError error;
    EXPECT_FALSE(JoinScoreStats({SliceWithContent(0, test::kBlackShot - 1, false),
                                 SliceWithContent(test::kBlackShot, -1, true)},
                                error));
    EXPECT_EQ(error.problem, ScoreStatsJoinProblem::ShortOverrun);
}

}  // namespace
}  // namespace trevanto

// Statistics files: written scores read back as the same numbers. Text that
// is no statistics file is refused in app_units_test (with its wording).
#include <gtest/gtest.h>

#include "export/score_stats.h"

namespace trevanto {
namespace {

TEST(ScoreStats, ReadBackTheSameScoresAndCuts) {
    ChangeScores scores;
    scores.Begin(1.0 / 25, 32, 15.0f);
    for (const FrameScore& score : std::vector<FrameScore>{{0, 21.637f, true},
                                                           {1, 0.1f / 3},
                                                           {2, 15.0f},
                                                           {3, 274.74487f},
                                                           {2, 99.0f},
                                                           {3, 1e-7f},
                                                           {4, 0.0f, false, true}})
        scores.Add(score);
    const std::string text = FormatScoreStats(scores, 15.0f);
    // A cut needs more than the threshold and a shot of two frames; a jump
    // back cuts nothing; the close always does.
    EXPECT_EQ(text.substr(0, text.find("\n3,")),
              "frame,timecode,score,cut\n0,00:00:00:0000,21.637,0\n1,00:00:00:0040,0.033333335,0\n"
              "2,00:00:00:0080,15,0");
    EXPECT_NE(text.find("\n3,00:00:00:0120,274.74487,1\n2,00:00:00:0080,99,0\n"), text.npos);
    ScoreStatsError error;
    const auto read = ParseScoreStats(text, error);
    ASSERT_TRUE(read) << static_cast<int>(error.problem) << " line " << error.line;
    EXPECT_EQ(*read, scores.Frames());
}

TEST(ScoreStats, TheHeaderNamesTheDetector) {
    for (const ShotDetector detector : {ShotDetector::Spread, ShotDetector::Content}) {
        ChangeScores scores;
        scores.Begin(0.04, 32, 20.0f, detector);
        for (const FrameScore& score : std::vector<FrameScore>{{0, 0.0f, true},
                                                               {1, 3.5f},
                                                               {2, 4.0f},
                                                               {3, 60.0f},
                                                               {4, 2.0f},
                                                               {5, 0.0f, false, true}})
            scores.Add(score);
        ScoreStatsError error;
        ShotDetector read = ShotDetector(1 - static_cast<int>(detector));
        const auto parsed = ParseScoreStats(FormatScoreStats(scores, 20.0f), error, &read);
        ASSERT_TRUE(parsed) << DetectorName(detector);
        EXPECT_EQ(std::pair(read, *parsed), std::pair(detector, scores.Frames()));
    }
}

}  // namespace
}  // namespace trevanto

// Statistics files: written scores read back as the same numbers, and text
// that is no statistics file refused with the line at fault.
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
    std::string error;
    const auto read = ParseScoreStats(text, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, scores.Frames());
}

TEST(ScoreStats, RefusesWhatIsNoStatisticsFile) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "line 1: the file is empty"},
        {"frame;timecode;score;cut\n", "line 1: the header is not 'frame,timecode,score,cut'"},
        {"frame,timecode,score,cut\r\n", "no frames after the header"},
        {"frame,timecode,score,cut\n0,t,1,0\n\n1,t,1,0\n", "line 3: empty line"},
        {"frame,timecode,score,cut\n0,t,1\n", "line 2: expected 4 fields"},
        {"frame,timecode,score,cut\n0,t,1,0,\n", "line 2: expected 4 fields"},
        {"frame,timecode,score,cut\r\n0,t,1,0\r\n-1,t,1,0\r\n", "line 3: the frame '-1'"},
        {"frame,timecode,score,cut\n+1,t,1,0\n", "line 2: the frame '+1'"},
        {"frame,timecode,score,cut\n99999999999,t,1,0\n", "line 2: the frame"},
        {"frame,timecode,score,cut\n1,t,nan,0\n", "line 2: the score 'nan'"},
        {"frame,timecode,score,cut\n1,t,-2,0\n", "line 2: the score '-2'"},
        {"frame,timecode,score,cut\n1,t,2x,0\n", "line 2: the score '2x'"},
        {"frame,timecode,score,cut\n1,t,2,yes\n", "line 2: the cut 'yes' is not 0 or 1"},
    };
    for (const auto& [text, reason] : rows) {
        std::string error;
        EXPECT_FALSE(ParseScoreStats(text, error)) << text;
        EXPECT_EQ(error.rfind(reason, 0), 0u) << error;
    }
}

}  // namespace
}  // namespace trevanto

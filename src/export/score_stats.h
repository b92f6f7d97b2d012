#pragma once
// The statistics file of an engine run: a header row, then one row per
// analysed frame, "frame,timecode,score,cut", comma separated, LF line ends.
// The score is the detector's change, written so that it reads back as the
// same number; cut is 1 where a shot ended before the frame. The first row
// is the frame the run began at, the last the frame its end closed the last
// shot at, as trevanto-cli runs always end. Reading it back gives the scores
// to cut again without the video.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/timecode.h"
#include "shots/change_scores.h"

namespace trevanto {

inline constexpr const char* kScoreStatsHeader = "frame,timecode,score,cut";
// The header of the content detector's scores; a file with the header above
// holds the spread rule's, as every file did before there were two.
inline constexpr const char* kContentScoreStatsHeader = "frame,timecode,content score,cut";
// The largest statistics file read back: about 4 million frames, a day of
// video at 50 frames a second.
inline constexpr int64_t kMaxScoreStatsBytes = int64_t{256} << 20;

// The file's text; the header names the detector of `scores`, the cut
// column is at the user's threshold (the content detector: its floor). The
// timecode is "hh:mm:ss:mmmm" of frame x seconds per frame, or of the
// frame's own time from `times` where the rate varies.
std::string FormatScoreStats(const ChangeScores& scores, float userThreshold,
                             const PictureTimes& times = nullptr);
// The same with each row's timecode as given (one per score, as a file read
// back had them): scores cut again keep the video's times without the video.
std::string FormatScoreStats(const ChangeScores& scores, float userThreshold,
                             const std::vector<std::string>& timecodes);

// Why a text is no statistics file; the front ends word it.
enum class ScoreStatsProblem : int32_t {
    EmptyFile,
    WrongHeader,
    NoFrames,  // a header and nothing after it
    EmptyLine,
    FieldCount,  // a row without 4 fields
    BadFrame,    // not a frame number
    BadScore,    // not a number of 0 or more
    BadCut,      // not 0 or 1
};

struct ScoreStatsError {
    ScoreStatsProblem problem = ScoreStatsProblem::EmptyFile;
    size_t line = 0;        // counted from 1; 0 where no one line is at fault
    std::string field;      // the field at fault
    size_t fieldCount = 0;  // the fields found, for FieldCount
};

// The scores of a statistics file, the first row starting the run and the
// last closing it. Nothing, with the first problem in `error`, when the text
// is not such a file.
// `detector` (when given) is told which detector wrote them, `timecodes`
// (when given) each row's timecode text.
std::optional<std::vector<FrameScore>> ParseScoreStats(
    std::string_view text, ScoreStatsError& error, ShotDetector* detector = nullptr,
    std::vector<std::string>* timecodes = nullptr);

}  // namespace trevanto

#pragma once
// One video's `slice` run as a child process of the batch: a video that
// crashes the decoder, hangs or eats memory takes only its own process
// down, and each video's outputs come from the very code `slice` runs. The
// child dies with the batch (a kill -9 of the batch leaves no orphan
// writing on).
#include <sys/types.h>

#include <string>
#include <vector>

namespace trevanto::cli {

// A child `slice` run writes the video's duration (FormatVideoDuration) into
// the file this variable names, once the video is open: the manifest
// records the length from it, which the shot list lacks.
inline constexpr const char* kVideoFactsVariable = "TREVANTO_BATCH_VIDEO_FACTS";

// Whole milliseconds and a newline: no decimal point for a locale to change.
std::string FormatVideoDuration(double seconds);

// This program's own file, which the children run.
std::string OwnExecutable();

// Starts `program arguments...` in `folder`, with standard input from
// /dev/null and its standard output and error into the files named, and
// kVideoFactsVariable naming `factsFile`. -1 when it cannot start.
pid_t StartChild(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, const std::string& outFile, const std::string& errFile,
                 const std::string& factsFile);

// The duration in seconds a child wrote into its facts file; 0 when it
// wrote none.
double ReadVideoDuration(const std::string& factsFile);

// What a child's wait status and its standard error tell: "" for success,
// else the reason the video failed.
std::string ChildFailure(int waitStatus, const std::string& errFile);

// Lines "NUMBER<TAB>FIRST<TAB>LAST<TAB>CAPTION" of a shot list: the count,
// and the frames from the first shot's start to the last one's end.
void CountShots(const std::string& outFile, int32_t& shots, int64_t& frames);

}  // namespace trevanto::cli

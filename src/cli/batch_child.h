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

// This program's own file, which the children run.
std::string OwnExecutable();

// Starts `program arguments...` in `folder`, with standard input from
// /dev/null and its standard output and error into the files named. -1 when
// it cannot start.
pid_t StartChild(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& folder, const std::string& outFile, const std::string& errFile);

// What a child's wait status and its standard error tell: "" for success,
// else the reason the video failed.
std::string ChildFailure(int waitStatus, const std::string& errFile);

// Lines "NUMBER<TAB>FIRST<TAB>LAST<TAB>CAPTION" of a shot list: the count,
// and the frames from the first shot's start to the last one's end.
void CountShots(const std::string& outFile, int32_t& shots, int64_t& frames);

}  // namespace trevanto::cli

#pragma once
// One video's `slice` run as a child process of the batch: a video that
// crashes the decoder, hangs or eats memory takes only its own process
// down, and each video's outputs come from the very code `slice` runs. The
// child dies with the batch (a kill -9 of the batch leaves no orphan
// writing on).
//
// A child is a fork of the batch that runs the slice command itself, so a
// video does not pay for loading the program and its libraries again (about
// half the time of a short clip). Where the batch has threads of its own, a
// fork could inherit a lock another thread held, so the child runs the
// program anew instead.
#include <sys/types.h>

#include <functional>
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

// The command line of a child, without the program's name, run by the
// program's own entry in a forked child; returns its exit status.
using ChildEntry = std::function<int(const std::vector<std::string>& arguments)>;

// A running child: its process id, and a descriptor that becomes readable
// when it ends (closed with the handle).
class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(pid_t pid, int endFd) : pid_(pid), endFd_(endFd) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t Pid() const { return pid_; }
    int EndFd() const { return endFd_; }
    bool Started() const { return pid_ > 0; }

  private:
    pid_t pid_ = -1;
    int endFd_ = -1;
};

// Starts `program arguments...` in `folder`, with standard input from
// /dev/null and its standard output and error into the files named: through
// `entry` in a fork of this process when it has no other thread, else by
// running `program`; kVideoFactsVariable names `factsFile`. Not Started()
// when it cannot start.
ChildProcess StartChild(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& folder, const std::string& outFile,
                        const std::string& errFile, const std::string& factsFile,
                        const ChildEntry& entry);

// Waits up to `timeoutMs` for one of `children` to end: true when one may
// have (its wait status is then ready), false on the timeout.
bool AwaitChildEnd(const std::vector<const ChildProcess*>& children, int timeoutMs);

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

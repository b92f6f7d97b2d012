#include "cli/batch_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace trevanto::cli {

std::string OwnExecutable() {
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<size_t>(length)) : std::string();
}

namespace {

// Whether this process runs on one thread alone, so that a fork of it holds
// no lock another thread had taken.
bool SingleThreaded() {
    std::error_code error;
    int threads = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/task", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        ++threads;
    }
    return !error && threads == 1;
}

// Buffered output of this process would otherwise be written again by
// every child.
void FlushOutput() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
}

}  // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), endFd_(std::exchange(other.endFd_, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (endFd_ >= 0)
            ::close(endFd_);
        pid_ = std::exchange(other.pid_, -1);
        endFd_ = std::exchange(other.endFd_, -1);
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    if (endFd_ >= 0)
        ::close(endFd_);
}

ChildProcess StartChild(const std::string& program, const std::vector<std::string>& arguments,
                        const std::string& folder, const std::string& outFile,
                        const std::string& errFile, const std::string& factsFile,
                        const ChildEntry& entry) {
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a copy of a threaded process, unless it has
    // none.
    std::vector<std::string> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string facts = std::string(kVideoFactsVariable) + '=' + factsFile;
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::strncmp(*variable, facts.c_str(), std::strlen(kVideoFactsVariable) + 1) != 0)
            envp.push_back(*variable);
    }
    envp.push_back(const_cast<char*>(facts.c_str()));
    envp.push_back(nullptr);
    const bool runHere = entry && SingleThreaded();
    FlushOutput();
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();
    pid_t child = -1;
    if (in >= 0 && out >= 0 && err >= 0)
        child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);  // the batch ended before the line above
        if (::chdir(folder.c_str()) != 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0)
            ::_exit(127);
        if (runHere) {
            // One thread alone: the environment is this process's to change.
            ::setenv(kVideoFactsVariable, factsFile.c_str(), 1);
            const int status = entry(arguments);
            FlushOutput();
            // The batch's own objects are the batch's to end.
            ::_exit(status);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    for (const int fd : {in, out, err}) {
        if (fd >= 0)
            ::close(fd);
    }
    if (child < 0)
        return {};
    // Debian's C library declares pidfd_open without C linkage for C++.
    return {child, static_cast<int>(::syscall(SYS_pidfd_open, child, 0))};
}

bool AwaitChildEnd(const std::vector<const ChildProcess*>& children, int timeoutMs) {
    std::vector<pollfd> ends;
    for (const ChildProcess* child : children) {
        if (child->EndFd() < 0) {
            // No descriptor from this kernel: look again soon.
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
            return true;
        }
        ends.push_back({child->EndFd(), POLLIN, 0});
    }
    return ::poll(ends.data(), ends.size(), timeoutMs) != 0;
}

std::string ChildFailure(int waitStatus, const std::string& errFile) {
    if (WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0)
        return {};
    if (WIFSIGNALED(waitStatus))
        return "slicing crashed (signal " + std::to_string(WTERMSIG(waitStatus)) + ")";
    // The child's last message says why.
    std::ifstream err(errFile);
    std::string line;
    std::string last;
    while (std::getline(err, line)) {
        if (!line.empty() && line[0] != '(')
            last = line;
    }
    constexpr std::string_view kPrefix = "trevanto-cli: ";
    if (last.rfind(kPrefix, 0) == 0)
        last.erase(0, kPrefix.size());
    return last.empty() ? "slice ended with status " + std::to_string(WEXITSTATUS(waitStatus))
                        : last;
}

std::string FormatVideoDuration(double seconds) {
    // Past 30 000 years or not a number: unknown.
    constexpr double kLongest = 1e12;
    const bool known = seconds > 0 && seconds < kLongest;
    return std::to_string(known ? std::llround(seconds * 1000) : 0) + '\n';
}

double ReadVideoDuration(const std::string& factsFile) {
    std::ifstream facts(factsFile);
    long long milliseconds = 0;
    return facts >> milliseconds && milliseconds > 0 ? static_cast<double>(milliseconds) / 1000 : 0;
}

void CountShots(const std::string& outFile, int32_t& shots, int64_t& frames) {
    std::ifstream out(outFile);
    std::string line;
    shots = 0;
    frames = 0;
    long long first = -1;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        long long number = 0;
        long long start = 0;
        long long end = 0;
        char tab1 = 0;
        char tab2 = 0;
        if (line.find('\t') == std::string::npos ||
            !(fields >> number >> std::noskipws >> tab1 >> start >> tab2 >> end) || tab1 != '\t' ||
            tab2 != '\t') {
            continue;
        }
        if (first < 0)
            first = start;
        ++shots;
        frames = end - first + 1;
    }
}

}  // namespace trevanto::cli

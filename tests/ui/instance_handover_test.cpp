// Files opened from the file manager while the program runs: a second start
// hands its file to the first one and ends. Both are real `trevanto`
// processes on a server of the test's own, never the user's.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "common/paths.h"
#include "support/test_clips.h"

extern char** environ;

namespace trevanto::test {
namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& condition) {
    for (auto waited = 0ms; waited < 30s; waited += 50ms) {
        if (condition())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Ends a program that is still running when the test ends.
struct Running {
    pid_t pid;
    ~Running() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0)
            ::waitpid(pid, nullptr, 0);
    }
};

pid_t Start(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), TREVANTO_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

TEST(InstanceHandOver, ASecondStartHandsItsFileToTheRunningProgram) {
    TempFolder folder;
    const std::string server = folder.File("instance");
    const std::string firstSettings = folder.File("first.conf");
    const std::string secondSettings = folder.File("second.conf");
    const std::string clip = MediaPath(TestClips().front());

    const Running first{Start({"--instance", server, "--settings", firstSettings})};
    ASSERT_GT(first.pid, 0);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(server); }));
    Running second{Start({"--instance", server, "--settings", secondSettings, clip})};
    ASSERT_GT(second.pid, 0);
    int status = -1;
    if (WaitUntil([&] { return ::waitpid(second.pid, &status, WNOHANG) == second.pid; }))
        second.pid = -1;  // it ended by itself
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The first program opened the clip; the second ran no program of its own.
    EXPECT_TRUE(WaitUntil([&] {
        return SettingsStore(firstSettings).RecentFiles() == std::vector<std::string>{clip};
    }));
    EXPECT_FALSE(FileExists(secondSettings));
}

}  // namespace
}  // namespace trevanto::test

// A second start hands its file to the running program and ends. Both are
// real `trevanto` processes on a server of the test's own, never the user's.
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

bool WaitUntil(const std::function<bool()>& condition) {
    for (int tries = 0; tries < 600;
         ++tries, std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (condition())
            return true;
    return false;
}

// A `trevanto` process, ended when the test ends if it still runs.
struct Running {
    explicit Running(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TREVANTO_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            pid = -1;
    }
    ~Running() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0)
            ::waitpid(pid, nullptr, 0);
    }
    pid_t pid = -1;
};

TEST(InstanceHandOver, ASecondStartHandsItsFileToTheRunningProgram) {
    TempFolder folder;
    const std::string server = folder.File("instance"), first = folder.File("first.conf"),
                      second = folder.File("second.conf"), clip = MediaPath(TestClips().front());
    const Running running({"--instance", server, "--settings", first});
    ASSERT_GT(running.pid, 0);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(server); }));
    Running later({"--instance", server, "--settings", second, clip});
    int status = -1;
    if (WaitUntil([&] { return ::waitpid(later.pid, &status, WNOHANG) == later.pid; }))
        later.pid = -1;  // it ended by itself
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The first program opened the clip.
    EXPECT_TRUE(WaitUntil(
        [&] { return SettingsStore(first).RecentFiles() == std::vector<std::string>{clip}; }));
}

}  // namespace
}  // namespace trevanto::test

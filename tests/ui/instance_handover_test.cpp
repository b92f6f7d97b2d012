// Files opened from the file manager while the program runs: a second start
// hands its file to the first one and ends. Both are real `trevanto`
// processes on a server of the test's own, never the user's.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "common/paths.h"
#include "export/shots_file.h"
#include "support/test_clips.h"

extern char** environ;

namespace trevanto::test {
namespace {

using namespace std::chrono_literals;

class Program {
  public:
    explicit Program(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TREVANTO_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return pid_ > 0; }
    // The exit status; -1 when it did not exit normally within the time.
    int Wait(std::chrono::seconds limit) {
        for (auto waited = 0ms; pid_ > 0 && waited < limit; waited += 50ms) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
};

bool WaitUntil(const std::function<bool()>& condition) {
    for (auto waited = 0ms; waited < 30s; waited += 50ms) {
        if (condition())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

TEST(InstanceHandOver, ASecondStartHandsItsFileToTheRunningProgram) {
    TempFolder folder;
    const std::string server = folder.File("instance");
    const std::string firstSettings = folder.File("first.conf");
    const std::string secondSettings = folder.File("second.conf");
    const std::string clip = MediaPath(TestClips().front());

    Program first({"--instance", server, "--settings", firstSettings});
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitUntil([&] { return FileExists(server); }));

    Program second({"--instance", server, "--settings", secondSettings, clip});
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.Wait(30s), 0);
    // The first program opened the clip; the second ran no program of its own.
    EXPECT_TRUE(WaitUntil([&] {
        return SettingsStore(firstSettings).RecentFiles() == std::vector<std::string>{clip};
    }));
    EXPECT_FALSE(FileExists(secondSettings));
}

}  // namespace
}  // namespace trevanto::test

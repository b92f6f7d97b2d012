// A second start hands its file to the running program and ends. Both are
// real `trevanto` processes on a server of the test's own, never the user's.
// Another user's program is neither told a path nor heard.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "app/settings/settings_store.h"
#include "common/paths.h"
#include "desktop_fixture.h"
#include "support/test_clips.h"
#include "ui/instance_channel.h"

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

constexpr uid_t kNobody = 65534;

// A process of user "nobody" on a local socket: it sends everything it reads
// down `report`. Only async-signal-safe calls after the fork.
class OtherUser {
  public:
    explicit OtherUser(const std::function<void(int report)>& work) {
        if (::pipe(pipe_) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe_[0]);
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(2);
            work(pipe_[1]);
            ::_exit(0);
        }
        ::close(pipe_[1]);
    }
    ~OtherUser() {
        if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0)
            ::waitpid(pid_, nullptr, 0);
        ::close(pipe_[0]);
    }
    // What it has reported by the time it ends or is ended.
    std::string Reported(bool end) {
        if (end && pid_ > 0 && ::kill(pid_, SIGKILL) == 0)
            ::waitpid(pid_, nullptr, 0), pid_ = -1;
        std::string text;
        char buffer[256];
        for (ssize_t got; (got = ::read(pipe_[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(got));
        return text;
    }
    bool Reports(int timeoutMs) {
        pollfd ready{pipe_[0], POLLIN, 0};
        return ::poll(&ready, 1, timeoutMs) == 1;
    }
    pid_t pid_ = -1;

  private:
    int pipe_[2] = {-1, -1};
};

sockaddr_un SocketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

// A folder open to everybody, as a shared temporary folder is.
std::string SharedFolder(const TempFolder& folder) {
    const std::string shared = folder.File("shared");
    ::chmod(folder.Path().c_str(), 0755);
    ::mkdir(shared.c_str(), 0777);
    ::chmod(shared.c_str(), 01777);
    return shared;
}

class OtherUsersChannel : public DesktopTest {};

TEST_F(OtherUsersChannel, AServerOfAnotherUserIsToldNothing) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can start a program of another user";
    TempFolder folder;
    const std::string name = SharedFolder(folder) + "/instance";
    OtherUser squatter([&name](int report) {
        const sockaddr_un address = SocketAddress(name);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(server, 4) != 0)
            return;
        (void)!::write(report, "listening\n", 10);
        for (int client; (client = ::accept(server, nullptr, nullptr)) >= 0; ::close(client)) {
            char buffer[256];
            for (ssize_t got; (got = ::read(client, buffer, sizeof buffer)) > 0;) {
                (void)!::write(report, buffer, static_cast<size_t>(got));
                (void)!::write(client, "ok\n", 3);
            }
        }
    });
    ASSERT_TRUE(squatter.Reports(20000));
    InstanceChannel channel(QString::fromStdString(name));
    EXPECT_FALSE(channel.HandOver("/home/me/secret.mpg", 2000));
    EXPECT_EQ(squatter.Reported(true), "listening\n");
}

TEST_F(OtherUsersChannel, AStartOfAnotherUserIsNotHeard) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can start a program of another user";
    TempFolder folder;
    const std::string name = SharedFolder(folder) + "/instance";
    InstanceChannel channel(QString::fromStdString(name));
    ASSERT_TRUE(channel.Listen());
    ::chmod(name.c_str(), 0777);  // as if the socket were open to all
    QSignalSpy opened(&channel, &InstanceChannel::OpenRequested);
    OtherUser stranger([&name](int report) {
        const sockaddr_un address = SocketAddress(name);
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            return;
        (void)!::write(report, "connected\n", 10);
        (void)!::write(client, "/tmp/planted.mpg\n", 17);
        char buffer[64];
        for (ssize_t got; (got = ::read(client, buffer, sizeof buffer)) > 0;)
            (void)!::write(report, buffer, static_cast<size_t>(got));
    });
    // The channel answers from the event loop until the stranger is done.
    int status = -1;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ::waitpid(stranger.pid_, &status, WNOHANG) == stranger.pid_; }, 20000));
    stranger.pid_ = -1;
    QTest::qWait(50);
    EXPECT_EQ(stranger.Reported(false), "connected\n");
    EXPECT_EQ(opened.count(), 0);
}

TEST(InstanceChannelName, TheSocketLivesInAFolderOnlyTheUserMayEnter) {
    TempFolder folder;
    const std::string runtime = folder.File("runtime"), temporary = folder.File("tmp"),
                      own = temporary + "/trevanto-" + std::to_string(::geteuid());
    const auto saved = [](const char* variable) {
        const char* value = std::getenv(variable);
        return value == nullptr ? std::string() : std::string(value);
    };
    const std::string savedRuntime = saved("XDG_RUNTIME_DIR"), savedTemporary = saved("TMPDIR");
    ::mkdir(temporary.c_str(), 01777);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Mode of the runtime folder (0: none), mode of a folder already at the
    // fallback place (0: none), the name expected.
    const std::tuple<mode_t, mode_t, std::string> rows[] = {
        {0700, 0, runtime + "/trevanto-" + std::to_string(::geteuid())},
        {0, 0, own + "/instance"},
        {0755, 0, own + "/instance"},
        {0777, 0, own + "/instance"},
        {0, 0700, own + "/instance"},
        {0, 0755, ""},  // no safe place: no channel
        {01777, 0777, ""},
    };
    for (const auto& [runtimeMode, ownMode, expected] : rows) {
        ::rmdir(runtime.c_str());
        ::rmdir(own.c_str());
        if (runtimeMode != 0)
            ::mkdir(runtime.c_str(), 0700), ::chmod(runtime.c_str(), runtimeMode);
        if (ownMode != 0)
            ::mkdir(own.c_str(), 0700), ::chmod(own.c_str(), ownMode);
        EXPECT_EQ(InstanceChannel::DefaultName().toStdString(), expected)
            << runtimeMode << " " << ownMode;
        struct stat made {};
        if (!expected.empty() && ::lstat(FolderPart(expected).c_str(), &made) == 0) {
            EXPECT_EQ(made.st_mode & 07777, 0700u) << expected;
        }
    }
    const auto restore = [](const char* variable, const std::string& value) {
        value.empty() ? ::unsetenv(variable) : ::setenv(variable, value.c_str(), 1);
    };
    restore("XDG_RUNTIME_DIR", savedRuntime);
    restore("TMPDIR", savedTemporary);
}

}  // namespace
}  // namespace trevanto::test

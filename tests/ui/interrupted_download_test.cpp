// The desktop program ended by a signal while it downloads a stream script
// named on its command line leaves no temporary file behind.
#include <signal.h>

#include <QProcess>
#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "support/loopback_http_server.h"
#include "support/test_clips.h"

namespace trevanto::test {
namespace {

TEST(InterruptedDownload, ASignalLeavesNoTemporaryScript) {
    LoopbackHttpServer server;
    HttpReply silent;
    silent.silent = true;
    server.Serve("/slow.asx", silent);
    for (const int signal : {SIGINT, SIGTERM}) {
        const TempFolder temporary, settings;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", QString::fromStdString(temporary.Path()));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(TREVANTO_PATH,
                      {"--new-window", "--settings", QString::fromStdString(settings / "t.conf"),
                       QString::fromStdString(server.Url("/slow.asx"))});
        ASSERT_TRUE(process.waitForStarted());
        // Until the download has its file.
        for (int tries = 0; tries < 600 && !HoldsScriptDownload(temporary.Path()); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(HoldsScriptDownload(temporary.Path())) << signal;
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << signal;  // ended by the signal
        EXPECT_FALSE(HoldsScriptDownload(temporary.Path())) << signal;
    }
}

}  // namespace
}  // namespace trevanto::test

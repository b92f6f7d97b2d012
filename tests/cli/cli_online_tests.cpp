// trevanto-cli on stream URLs and ASX stream scripts served by a loopback
// HTTP server: the stream each leads to is sliced, or the run ends with the
// message of what went wrong; no downloaded script stays behind.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/front_ends/online_video.h"
#include "app/messages/document_messages.h"
#include "app/messages/shots_file_messages.h"
#include "cli_process.h"
#include "support/loopback_http_server.h"
#include "support/signalled_download.h"

namespace trevanto {
namespace {

using test::HttpReply;
using test::TextReply;

std::string Script(const std::vector<std::string>& streams) {
    std::string script = "<ASX version=\"3.0\">\r\n";
    for (const std::string& stream : streams)
        script += "  <Entry><Ref href=\"" + stream + "\"/></Entry>\r\n";
    return script + "</ASX>\r\n";
}

TEST(CliOnline, StreamsAndScriptsAreSlicedOrRefusedWithTheirMessage) {
    const test::TempFolder pipes;
    const test::TempFolder temporary;  // the downloads' temporary folder
    ASSERT_EQ(setenv("TMPDIR", temporary.Path().c_str(), 1), 0);
    test::LoopbackHttpServer server;
    const std::string mpeg2 = server.Url("/2.mpg"), mpeg1 = server.Url("/1.mpg");
    server.Serve("/2.mpg", test::FileReply("video/mpeg", test::MediaPath("clip_mpeg2.mpg")));
    server.Serve("/1.mpg", test::FileReply("video/mpeg", test::MediaPath("clip_mpeg1.mpg")));
    server.Serve("/list.asx", TextReply("video/x-ms-asf", Script({mpeg2, mpeg1})));
    server.Serve("/playlist", TextReply("video/x-ms-wvx", Script({mpeg1})));
    HttpReply moved = TextReply("text/html", "", 302), silent;
    moved.location = "/list.asx";
    silent.silent = true;
    server.Serve("/old.asx", moved);
    server.Serve("/slow.asx", silent);
    server.Serve("/big.asx", TextReply("video/x-ms-asf", std::string(kMaxScriptBytes + 1, ' ')));
    server.Serve("/loop.wvx", TextReply("video/x-ms-wvx", Script({server.Url("/loop.wvx")})));
    server.Serve("/broken.asx", TextReply("video/x-ms-asf", "<asx><entry></asx>"));
    server.Serve("/empty.asx", TextReply("video/x-ms-asf", "\r\n"));
    server.Serve("/binary.asx", TextReply("video/x-ms-asf", std::string("\0<asx/>", 7)));
    server.Serve("/none.asx", TextReply("video/x-ms-asf", "<asx><title>x</title></asx>"));
    server.Serve("/slow", silent);  // no script by its name: a video that does not come
    HttpReply trickle = test::FileReply("video/mpeg", test::MediaPath("clip_mpeg1.mpg"));
    trickle.trickle = true;
    server.Serve("/trickle.mpg", trickle);
    const std::string fifo = pipes.File("stream.mpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    server.Serve("/pipe.asx", TextReply("video/x-ms-asf", Script({"concat:" + fifo})));
    // A video larger than a script may be is played whatever it is served
    // as, unless that is a script's type.
    const std::string large = test::MediaPath("clip_mjpeg.avi");
    ASSERT_GT(std::filesystem::file_size(large), static_cast<uintmax_t>(kMaxScriptBytes));
    server.Serve("/large.avi", test::FileReply("video/x-msvideo", large));
    server.Serve("/large", test::FileReply("application/octet-stream", large));
    server.Serve("/large-list", test::FileReply("video/x-ms-asx", large));
    const std::string local = temporary.File("local.wvx");
    std::ofstream(local) << Script({"ftp://h/a.wmv", mpeg1});

    const std::string mpeg2Shots = test::RunCli({"slice", test::MediaPath("clip_mpeg2.mpg")}).out;
    const std::string mpeg1Shots = test::RunCli({"slice", test::MediaPath("clip_mpeg1.mpg")}).out;
    const std::string largeShots = test::RunCli({"slice", large}).out;
    ASSERT_NE(mpeg1Shots, mpeg2Shots);
    ASSERT_FALSE(largeShots.empty());
    const std::string noAnswer = OpenFailureMessage(OpenFailure::NoAnswer);
    const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
        {{mpeg2}, mpeg2Shots, ""},
        {{server.Url("/list.asx")}, mpeg2Shots, "  2\t" + mpeg1 + "\n"},
        {{server.Url("/list.asx"), "--entry", "2"}, mpeg1Shots, ""},
        {{server.Url("/playlist")}, mpeg1Shots, "lists 1 stream"},  // by its content type
        {{server.Url("/old.asx"), "--entry", "2"}, mpeg1Shots, ""},
        {{"mms" + server.Url("/list.asx").substr(4)}, mpeg2Shots, ""},
        {{local, "--entry", "2"}, mpeg1Shots, ""},
        {{local}, "", message::kUrlRefused},
        {{server.Url("/list.asx"), "--entry", "3"}, "", "the script has no stream 3"},
        {{server.Url("/missing.asx")}, "", message::kScriptUnreachable},
        {{server.Url("/big.asx")}, "", message::kScriptTooLarge},
        {{server.Url("/large.avi")}, largeShots, ""},
        {{server.Url("/large")}, largeShots, ""},
        {{server.Url("/large-list")}, "", message::kScriptTooLarge},
        {{server.Url("/slow.asx"), "--timeout", "0.3"}, "", message::kScriptTimedOut},
        {{server.Url("/loop.wvx")}, "", message::kScriptsWithoutEnd},
        {{server.Url("/broken.asx")}, "", "malformed xml : impaired ending element\n"},
        {{server.Url("/empty.asx")}, "", message::kScriptEmpty},
        {{server.Url("/binary.asx")}, "", message::kScriptNotText},
        {{server.Url("/none.asx")}, "", "the asx stream script lists no stream"},
        {{server.Url("/slow"), "--timeout", "0.3"}, "", noAnswer},
        {{server.Url("/trickle.mpg"), "--timeout", "1"}, "", noAnswer},
        {{server.Url("/pipe.asx")}, "", OpenFailureMessage(OpenFailure::RefusedUrl)},
    };
    for (const auto& [arguments, out, error] : rows) {
        std::vector<std::string> command = {"slice", "--quiet"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto result = test::RunCli(command, 30000);
        EXPECT_EQ(result.status, out.empty() ? 1 : 0) << arguments[0] << "\n" << result.err;
        EXPECT_EQ(result.out, out) << arguments[0];
        EXPECT_NE(result.err.find(error), std::string::npos) << result.err;
    }
    unsetenv("TMPDIR");
    std::filesystem::remove(local);
    EXPECT_TRUE(std::filesystem::is_empty(temporary.Path()));  // no "~ASX" file stays
}

// An rtmp:// stream (FFmpeg serving the clip live on a loopback port) opens
// through FFmpeg's own protocol; a live stream has no length, so it is not
// sliced, and the run says so rather than refusing the URL.
TEST(CliOnline, AnRtmpStreamOpensThroughFfmpeg) {
    // A free loopback port, let go for the server.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length), 0);
    close(probe);
    const std::string url =
        "rtmp://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/live/clip";
    QProcess server;
    server.start("ffmpeg",
                 {"-loglevel", "error", "-re", "-i",
                  QString::fromStdString(test::MediaPath("clip_mpeg1.mpg")), "-an", "-c:v", "flv",
                  "-f", "flv", "-listen", "1", QString::fromStdString(url)});
    ASSERT_TRUE(server.waitForStarted());
    test::CliResult result;
    // The server listens once it has read the clip's head; until then the
    // connection is refused.
    const std::string refused =
        "trevanto-cli: " + OpenFailureMessage(OpenFailure::CannotPlay) + "\n";
    for (int attempt = 0; attempt < 50; ++attempt) {
        result = test::RunCli({"slice", url, "--quiet"}, 30000);
        if (result.err != refused)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    server.kill();
    server.waitForFinished();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, std::string("trevanto-cli: ") + message::kNotSeekable + "\n");
}

TEST(CliOnline, ASignalDuringADownloadLeavesNoTemporaryScript) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        EXPECT_EQ(test::EndDownloadBySignal(TREVANTO_CLI_PATH, {"slice"}, signal), "") << signal;
}

}  // namespace
}  // namespace trevanto

// trevanto-cli on stream URLs and ASX stream scripts served by a loopback
// HTTP server: the stream each one leads to is sliced, or the run ends with
// the message of what went wrong; no downloaded script stays behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/online_video.h"
#include "cli_process.h"
#include "support/loopback_http_server.h"

namespace trevanto {
namespace {

using test::HttpReply;
using test::ReadWholeFile;
using test::RunCli;

const char* const kMpeg2Shots =
    "1\t0\t29\tshot 0001 ( 0 - 29 )\n2\t30\t69\tshot 0002 ( 30 - 69 )\n"
    "3\t70\t109\tshot 0003 ( 70 - 109 )\n4\t110\t149\tshot 0004 ( 110 - 149 )\n";
const char* const kMpeg1Shots =
    "1\t0\t39\tshot 0001 ( 0 - 39 )\n2\t40\t84\tshot 0002 ( 40 - 84 )\n"
    "3\t85\t124\tshot 0003 ( 85 - 124 )\n4\t125\t164\tshot 0004 ( 125 - 164 )\n"
    "5\t165\t199\tshot 0005 ( 165 - 199 )\n";

HttpReply Reply(const std::string& contentType, std::string body) {
    HttpReply reply;
    reply.contentType = contentType;
    reply.body = std::move(body);
    return reply;
}

std::string Script(const std::vector<std::string>& streams) {
    std::string script = "<ASX version=\"3.0\">\r\n";
    for (const std::string& stream : streams)
        script += "  <Entry><Ref href=\"" + stream + "\"/></Entry>\r\n";
    return script + "</ASX>\r\n";
}

TEST(CliOnline, StreamsAndScriptsAreSlicedOrRefusedWithTheirMessage) {
    const test::TempFolder temporary;  // the downloads' temporary folder
    ASSERT_EQ(setenv("TMPDIR", temporary.Path().c_str(), 1), 0);
    test::LoopbackHttpServer server;
    ASSERT_GT(server.Port(), 0);
    const std::string mpeg2 = server.Url("/clip2.mpg"), mpeg1 = server.Url("/clip1.mpg");
    server.Serve("/clip2.mpg",
                 Reply("video/mpeg", ReadWholeFile(test::MediaPath("clip_mpeg2.mpg"))));
    server.Serve("/clip1.mpg",
                 Reply("video/mpeg", ReadWholeFile(test::MediaPath("clip_mpeg1.mpg"))));
    server.Serve("/list.asx", Reply("video/x-ms-asf", Script({mpeg2, mpeg1})));
    server.Serve("/playlist", Reply("video/x-ms-wvx", Script({mpeg1})));
    HttpReply moved;
    moved.status = 302;
    moved.location = "/list.asx";
    server.Serve("/old.asx", moved);
    server.Serve("/big.asx", Reply("video/x-ms-asf", std::string(kMaxScriptBytes + 1, ' ')));
    HttpReply silent;
    silent.silent = true;
    server.Serve("/slow.asx", silent);
    server.Serve("/loop.wvx", Reply("video/x-ms-wvx", Script({server.Url("/loop.wvx")})));
    server.Serve("/broken.asx", Reply("video/x-ms-asf", "<asx><entry></asx>"));
    server.Serve("/empty.asx", Reply("video/x-ms-asf", "\r\n"));
    const std::string local = temporary.File("local.wvx");
    std::ofstream(local) << Script({"ftp://h/a.wmv", mpeg1});

    const std::tuple<std::vector<std::string>, int, std::string, std::string> rows[] = {
        {{mpeg2}, 0, kMpeg2Shots, ""},
        {{server.Url("/list.asx")}, 0, kMpeg2Shots, "  2\t" + mpeg1 + "\n"},
        {{server.Url("/list.asx"), "--entry", "2"}, 0, kMpeg1Shots, ""},
        {{server.Url("/playlist")}, 0, kMpeg1Shots, "lists 1 stream"},  // by its content type
        {{server.Url("/old.asx"), "--entry", "2"}, 0, kMpeg1Shots, ""},
        {{"mms" + server.Url("/list.asx").substr(4)}, 0, kMpeg2Shots, ""},
        {{local, "--entry", "2"}, 0, kMpeg1Shots, ""},
        {{local}, 1, "", message::kUrlRefused},
        {{server.Url("/list.asx"), "--entry", "3"}, 1, "", "the script has no stream 3"},
        {{server.Url("/missing.asx")}, 1, "", message::kScriptUnreachable},
        {{server.Url("/big.asx")}, 1, "", message::kScriptTooLarge},
        {{server.Url("/slow.asx"), "--timeout", "0.3"}, 1, "", message::kScriptTimedOut},
        {{server.Url("/loop.wvx")}, 1, "", message::kScriptsWithoutEnd},
        {{server.Url("/broken.asx")}, 1, "", "malformed xml : impaired ending element\n"},
        {{server.Url("/empty.asx")}, 1, "", message::kScriptEmpty},
        {{"ftp://127.0.0.1/a.asx"}, 1, "", message::kUrlRefused},
    };
    for (const auto& [arguments, status, out, error] : rows) {
        std::vector<std::string> command = {"slice", "--quiet"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto result = RunCli(command);
        EXPECT_EQ(result.status, status) << arguments[0] << "\n" << result.err;
        EXPECT_EQ(result.out, out) << arguments[0];
        EXPECT_NE(result.err.find(error), std::string::npos) << result.err;
    }
    unsetenv("TMPDIR");
    std::filesystem::remove(local);
    EXPECT_TRUE(std::filesystem::is_empty(temporary.Path()));
}

}  // namespace
}  // namespace trevanto

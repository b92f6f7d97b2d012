// What the graph refuses to hand FFmpeg, and why each open that fails
// failed: protocol prefixes and playlists with a FIFO behind them, pipes,
// pictures, a server that trickles a byte a second, an open the user
// cancels. None may hang: each open has a bound, past which the test lets
// the FIFO go and fails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>

#include <filesystem>
#include <future>

#include "graph_driver.h"
#include "support/loopback_http_server.h"
#include "video/input_guard.h"

namespace trevanto::test {
namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Opens `request` on a thread of its own; a FIFO it waits on is opened and
// closed by the test after `bound`, which ends the wait with an empty read.
std::unique_ptr<MediaGraph> OpenWithin(const OpenRequest& request, OpenError& error,
                                       const std::string& fifo, std::chrono::seconds bound = 20s) {
    auto opening = std::async(std::launch::async, [&] { return OpenMediaGraph(request, error); });
    if (opening.wait_for(bound) == std::future_status::timeout) {
        ADD_FAILURE() << request.url << " still opens after " << bound.count() << " s";
        close(open(fifo.c_str(), O_RDWR));
    }
    return opening.get();
}

TEST(GraphGuardedInputTest, OpenFailuresSayWhatIsWrong) {
    TempFolder folder;
    const std::string fifo = folder / "stream.mpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteText(folder / "empty.avi", "");
    ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32)
                    .save(QString::fromStdString(folder / "picture.mpg"), "PNG"));
    // Playlists that name the FIFO: FFmpeg's concat demuxer and HLS. The
    // concat demuxer is refused even for regular files.
    WriteText(folder / "list.mpg", "ffconcat version 1.0\nfile 'stream.mpg'\n");
    std::filesystem::copy_file(MediaPath("clip_mpeg1.mpg"), folder / "clip.mpg");
    WriteText(folder / "clips.mpg", "ffconcat version 1.0\nfile 'clip.mpg'\n");
    WriteText(folder / "list.m3u8",
              "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + fifo + "\n#EXT-X-ENDLIST\n");
    const std::pair<std::string, OpenFailure> rows[] = {
        {folder / "missing.mpg", OpenFailure::NotFound},
        {folder / "empty.avi", OpenFailure::CannotPlay},
        {folder.Path(), OpenFailure::NotAFile},
        {fifo, OpenFailure::NotAFile},
        {"file:" + fifo, OpenFailure::NotAFile},
        {"concat:" + fifo, OpenFailure::RefusedUrl},
        {"concat:" + MediaPath("clip_mpeg1.mpg") + "|" + fifo, OpenFailure::RefusedUrl},
        {"subfile,,start,0,end,0,,:" + fifo, OpenFailure::RefusedUrl},
        {"async:" + fifo, OpenFailure::RefusedUrl},
        {"cache:" + fifo, OpenFailure::RefusedUrl},
        {"pipe:0", OpenFailure::RefusedUrl},
        {"ftp://127.0.0.1/a.mpg", OpenFailure::RefusedUrl},
        {folder / "picture.mpg", OpenFailure::Picture},
        {folder / "list.mpg", OpenFailure::CannotPlay},
        {folder / "clips.mpg", OpenFailure::CannotPlay},
        {folder / "list.m3u8", OpenFailure::CannotPlay},
    };
    for (const auto& [url, failure] : rows) {
        OpenError error;
        EXPECT_FALSE(OpenWithin({url}, error, fifo)) << url;
        EXPECT_EQ(error.failure, failure) << url << ": " << MediaErrorText(error.cause, url);
        EXPECT_NE(error.cause.code, MediaErrorCode::None);
    }
}

// Stream schemes go to FFmpeg's own protocols: mms:// as MMS over http,
// then over tcp; rtsp and rtmp as they are, with what they use underneath.
TEST(GraphGuardedInputTest, StreamSchemesUseFfmpegsProtocols) {
    const struct {
        const char* text;
        const char* url;
        const char* fallback;
        const char* underneath;
    } rows[] = {
        {"mms://h/a.wmv", "mmsh://h/a.wmv", "mmst://h/a.wmv", "mmst"},
        {"MMS://h/a.wmv", "mmsh://h/a.wmv", "mmst://h/a.wmv", "mmsh"},
        {"rtsp://h:554/live", "rtsp://h:554/live", "", "rtp"},
        {"rtmp://h/app/live", "rtmp://h/app/live", "", "rtmp"},
        {"mmsh://h/a.wmv", "mmsh://h/a.wmv", "", "http"},
    };
    for (const auto& row : rows) {
        const GuardedInput input = GuardInput(row.text);
        EXPECT_EQ(input.kind, InputKind::Network) << row.text;
        EXPECT_EQ(input.url, row.url);
        EXPECT_EQ(input.fallback, row.fallback);
        EXPECT_NE(("," + input.protocols + ",").find(std::string(",") + row.underneath + ","),
                  std::string::npos)
            << row.text;
    }
    EXPECT_EQ(GuardInput("rtp://h:5000").kind, InputKind::Refused);
}

// A file named like a protocol is still a file.
TEST(GraphGuardedInputTest, AFileNamedLikeAProtocolOpens) {
    TempFolder folder;
    std::filesystem::copy_file(MediaPath("clip_mpeg1.mpg"), folder / "take:2.mpg");
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    OpenError error;
    EXPECT_TRUE(OpenMediaGraph({"take:2.mpg"}, error)) << MediaErrorText(error.cause, "take:2.mpg");
    EXPECT_TRUE(OpenMediaGraph({folder / "take:2.mpg"}, error))
        << MediaErrorText(error.cause, "take:2.mpg");
    ASSERT_EQ(chdir("/"), 0);
}

// An ASF file cut short, or followed by zeros, opens but has no length.
TEST(GraphGuardedInputTest, AnAsfFileWithoutItsEndHasNoLength) {
    TempFolder folder;
    const std::vector<char> whole = ReadAll(MediaPath("clip_wmv2.asf"));
    std::vector<char> cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
    std::vector<char> zeros = whole;
    zeros.resize(whole.size() * 2);
    const std::pair<std::string, const std::vector<char>*> files[] = {
        {"whole.asf", &whole}, {"cut.asf", &cut}, {"zeros.asf", &zeros}};
    for (const auto& [name, bytes] : files) {
        std::ofstream(folder / name, std::ios::binary)
            .write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        OpenError error;
        const auto graph = OpenMediaGraph({folder / name}, error);
        ASSERT_TRUE(graph) << MediaErrorText(error.cause, name);
        EXPECT_EQ(graph->LengthUnknown(), name != "whole.asf") << name;
        EXPECT_EQ(graph->DurationSeconds() > 0.0, name == "whole.asf") << name;
    }
}

// A server that sends its head and then a byte a second is given up once
// a window passes with less than a kilobyte a second; the user may give up
// sooner.
TEST(GraphGuardedInputTest, ATricklingServerIsGivenUpAndAnOpenCanBeCancelled) {
    LoopbackHttpServer server;
    HttpReply trickle = FileReply("video/mpeg", MediaPath("clip_mpeg1.mpg"));
    trickle.trickle = true;
    server.Serve("/clip.mpg", trickle);
    ASSERT_GT(server.Port(), 0);
    OpenError error;
    EXPECT_FALSE(OpenWithin({server.Url("/clip.mpg"), 1500ms}, error, ""));
    EXPECT_EQ(error.failure, OpenFailure::NoAnswer) << MediaErrorText(error.cause, "/clip.mpg");

    std::atomic<bool> cancel{false};
    auto opening = std::async(std::launch::async, [&] {
        return OpenMediaGraph({server.Url("/clip.mpg"), 60s, &cancel}, error);
    });
    EXPECT_EQ(opening.wait_for(300ms), std::future_status::timeout);
    cancel = true;
    ASSERT_EQ(opening.wait_for(20s), std::future_status::ready);
    EXPECT_FALSE(opening.get());
    EXPECT_EQ(error.failure, OpenFailure::Cancelled) << MediaErrorText(error.cause, "/clip.mpg");
}

}  // namespace
}  // namespace trevanto::test

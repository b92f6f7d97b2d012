// Files that are not playable videos: opening fails with a reason, or
// playback ends with an event; never a crash or a hang.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Plays an opened graph unpaced to its end, seeking once on the way; the
// end must be reported within the bounded wait.
void PlaysToAnEnd(MediaGraph& graph) {
    graph.SetPaced(false);
    graph.Run();
    GraphEvent event;
    int repaints = 0;
    int last = -1;
    bool sought = false;
    for (;;) {
        ASSERT_TRUE(WaitEvent(graph, event, 30s)) << "no end after " << repaints << " frames";
        if (event.code == GraphEventCode::Complete || event.code == GraphEventCode::ErrorAbort)
            break;
        ASSERT_EQ(event.code, GraphEventCode::Repaint);
        ASSERT_TRUE(event.frame);
        // Frames come in order. Their pictures may not tell: a damaged one
        // may show parts of earlier ones (a cut-off JPEG keeps the rest of
        // a recycled buffer).
        const int number = FrameAt(graph, event.frameSeconds);
        EXPECT_GT(number, last);
        last = number;
        if (++repaints == 20 && !sought) {
            sought = true;
            last = -1;
            // Far past what survived of the file, then back.
            graph.PutCurrentPosition(graph.DurationSeconds() * 0.9);
            GraphEvent ignored;
            WaitEvent(graph, ignored, 30s);
            graph.PutCurrentPosition(0.0);
        }
    }
    EXPECT_TRUE(StaysQuiet(graph, 100ms));
}

TEST(GraphDamagedInputTest, TruncatedClipsOpenAndEndOrFailToOpen) {
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    for (const TestClip& clip : TestClips()) {
        const std::vector<char> whole = ReadAll(MediaPath(clip));
        ASSERT_FALSE(whole.empty()) << clip.file;
        for (const double part : {0.5, 0.1, 0.002}) {
            SCOPED_TRACE(clip.file + " cut to " + std::to_string(part));
            const std::string path = folder.File("cut_" + clip.file);
            WriteAll(path,
                     std::vector<char>(whole.begin(),
                                       whole.begin() + static_cast<long>(whole.size() * part)));
            std::string error;
            auto graph = OpenMediaGraph(path, error);
            if (!graph) {
                EXPECT_FALSE(error.empty());
                continue;
            }
            PlaysToAnEnd(*graph);
        }
    }
}

TEST(GraphDamagedInputTest, RandomBytesNeverPlayForever) {
    TempFolder folder;
    std::mt19937 random(20261206);
    for (int round = 0; round < 6; ++round) {
        std::vector<char> bytes(64 * 1024 << (round % 3));
        for (char& byte : bytes)
            byte = static_cast<char>(random());
        // Some with a real clip's first bytes, so that a demuxer takes them.
        if (round >= 3) {
            const std::vector<char> head = ReadAll(MediaPath(TestClips()[round - 3]));
            std::copy(head.begin(), head.begin() + 4096, bytes.begin());
        }
        const std::string path = folder.File("noise" + std::to_string(round) + ".mpg");
        WriteAll(path, bytes);
        std::string error;
        auto graph = OpenMediaGraph(path, error);
        if (!graph) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        PlaysToAnEnd(*graph);
    }
}

TEST(GraphDamagedInputTest, CorruptedMiddleStillPlaysToTheEnd) {
    TempFolder folder;
    std::mt19937 random(7);
    for (const TestClip& clip : TestClips()) {
        SCOPED_TRACE(clip.file);
        std::vector<char> bytes = ReadAll(MediaPath(clip));
        for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 20000; ++i)
            bytes[i] = static_cast<char>(random());
        const std::string path = folder.File(clip.file);
        WriteAll(path, bytes);
        std::string error;
        auto graph = OpenMediaGraph(path, error);
        ASSERT_TRUE(graph) << error;
        PlaysToAnEnd(*graph);
    }
}

// A WAV file: audio only.
void WriteWave(const std::string& path) {
    std::vector<char> bytes;
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>(v >> (8 * i)));
    };
    const auto put16 = [&](uint16_t v) {
        bytes.push_back(static_cast<char>(v));
        bytes.push_back(static_cast<char>(v >> 8));
    };
    const uint32_t samples = 8000;
    const std::string riff = "RIFF", wave = "WAVEfmt ", data = "data";
    bytes.insert(bytes.end(), riff.begin(), riff.end());
    put32(36 + samples * 2);
    bytes.insert(bytes.end(), wave.begin(), wave.end());
    put32(16);
    put16(1);     // PCM
    put16(1);     // mono
    put32(8000);  // samples per second
    put32(16000);
    put16(2);
    put16(16);
    bytes.insert(bytes.end(), data.begin(), data.end());
    put32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i)
        put16(static_cast<uint16_t>((i * 300) & 0x3FFF));
    WriteAll(path, bytes);
}

TEST(GraphDamagedInputTest, OpeningFailsWithAReason) {
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(OpenMediaGraph(folder.File("missing.mpg"), error));
    EXPECT_NE(error.find("missing.mpg"), std::string::npos) << error;

    const std::string wave = folder.File("sound.wav");
    WriteWave(wave);
    error.clear();
    EXPECT_FALSE(OpenMediaGraph(wave, error));
    EXPECT_NE(error.find("no video"), std::string::npos) << error;

    const std::string empty = folder.File("empty.avi");
    WriteAll(empty, {});
    error.clear();
    EXPECT_FALSE(OpenMediaGraph(empty, error));
    EXPECT_FALSE(error.empty());

    error.clear();
    EXPECT_FALSE(OpenMediaGraph(folder.Path(), error)) << "a folder";
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace trevanto::test

// Files that are not playable videos: opening fails with a reason, or
// playback ends with an event; never a crash or a hang.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <functional>
#include <random>
#include <string_view>
#include <vector>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What an unpaced run through a file gives: every frame's number and a
// checksum of its picture, then how it ended.
struct Outcome {
    bool opened = false;
    std::vector<std::pair<int, size_t>> frames;
    GraphEventCode end = GraphEventCode::Complete;
    bool operator==(const Outcome&) const = default;
};

Outcome PlayThrough(const std::string& path) {
    Outcome outcome;
    std::string error;
    auto graph = OpenUnpaced(path, error);
    outcome.opened = graph != nullptr;
    if (!graph) {
        EXPECT_FALSE(error.empty());
        return outcome;
    }
    graph->Run();
    GraphEvent event;
    for (;;) {
        if (!WaitEvent(*graph, event, 30s)) {
            ADD_FAILURE() << "no end after " << outcome.frames.size() << " frames";
            return outcome;
        }
        if (event.code != GraphEventCode::Repaint) {
            outcome.end = event.code;
            return outcome;
        }
        // Rows hashed by the library, which is fast in sanitized builds too.
        size_t sum = 0;
        const size_t rowBytes = static_cast<size_t>(event.frame->Width()) * 4;
        for (int y = 0; y < event.frame->Height(); ++y) {
            const auto* row = reinterpret_cast<const char*>(event.frame->Row(y));
            sum = sum * 31 + std::hash<std::string_view>{}(std::string_view(row, rowBytes));
        }
        const int number = FrameAt(*graph, event.frameSeconds);
        // Frames come in order; their pictures may not tell (a cut-off JPEG
        // keeps the rest of a recycled buffer).
        EXPECT_TRUE(outcome.frames.empty() || number > outcome.frames.back().first) << number;
        outcome.frames.emplace_back(number, sum);
    }
}

// Damaged copies of clips play to an end (or fail to open with a reason),
// and the same file gives the same frames every time. One test per clip, so
// that each gets its own time bound and they run side by side.
class DamagedClipTest : public testing::TestWithParam<const char*> {};

TEST_P(DamagedClipTest, PlaysTheSameFramesEveryTime) {
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    using Damage = std::function<void(std::vector<char>&)>;
    const std::vector<std::pair<std::string, Damage>> damages = {
        {"cut to half", [](std::vector<char>& b) { b.resize(b.size() / 2); }},
        {"cut to a tenth", [](std::vector<char>& b) { b.resize(b.size() / 10); }},
        {"header only", [](std::vector<char>& b) { b.resize(4096); }},
        {"a range zeroed",
         [](std::vector<char>& b) {
             std::fill(b.begin() + static_cast<long>(b.size() / 3),
                       b.begin() + static_cast<long>(b.size() / 3 + 20000), 0);
         }},
        {"an odd picture width",  // MPEG sequence headers 3 pixels narrower
         [](std::vector<char>& b) {
             for (size_t i = 0; i + 5 < b.size(); ++i)
                 if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == '\xB3') {
                     const int width = ((b[i + 4] & 0xFF) << 4 | (b[i + 5] & 0xF0) >> 4) - 3;
                     b[i + 4] = static_cast<char>(width >> 4);
                     b[i + 5] = static_cast<char>((width & 0xF) << 4 | (b[i + 5] & 0xF));
                 }
         }},
        {"noise after the header",
         [](std::vector<char>& b) {
             std::mt19937 random(2026);
             for (size_t i = 4096; i < b.size(); ++i)
                 b[i] = static_cast<char>(random());
         }},
        {"1% of the bytes flipped",
         [](std::vector<char>& b) {
             std::mt19937 random(1206);
             for (size_t i = 0; i < b.size() / 100; ++i)
                 b[random() % b.size()] ^= static_cast<char>(1 + random() % 255);
         }},
    };
    const char* file = GetParam();
    const std::vector<char> whole = ReadAll(MediaPath(file));
    ASSERT_GT(whole.size(), 64000u) << file;
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        std::vector<char> bytes = whole;
        damage(bytes);
        const std::string path = folder.File(file);
        WriteAll(path, bytes);
        const Outcome first = PlayThrough(path);
        EXPECT_EQ(PlayThrough(path), first);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, DamagedClipTest,
                         testing::Values("clip_mpeg2.mpg", "clip_mpeg1.mpg",
                                         "clip_mpeg4_bframes.avi", "clip_xvid_packed.avi",
                                         "clip_wmv2.asf"));

// A WAV file: one second of 16-bit mono audio at 8 kHz, no video.
void WriteWave(const std::string& path) {
    const std::string header(
        "RIFF\xa4\x3e\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0"
        "data\x80\x3e\0\0",
        44);
    std::vector<char> bytes(header.begin(), header.end());
    bytes.resize(44 + 16000, '\x10');
    WriteAll(path, bytes);
}

TEST(GraphDamagedInputTest, OpeningFailsWithAReason) {
    TempFolder folder;
    WriteWave(folder.File("sound.wav"));
    WriteAll(folder.File("empty.avi"), {});
    const std::string fifo = folder.File("stream.mpg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Were the FIFO opened, the open would wait for a writer: one that comes
    // and goes makes that a failure instead of a hang.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        while (!done) {
            const int descriptor = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (descriptor >= 0)
                close(descriptor);
            std::this_thread::sleep_for(10ms);
        }
    });
    const std::pair<std::string, std::string> cases[] = {
        {folder.File("missing.mpg"), "missing.mpg"},
        {folder.File("sound.wav"), "no video"},
        {folder.File("empty.avi"), "empty.avi"},
        {folder.Path(), "not a regular file"},
        {fifo, "not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        std::string error;
        EXPECT_FALSE(OpenMediaGraph(path, error)) << path;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    done = true;
    writer.join();
}

}  // namespace
}  // namespace trevanto::test

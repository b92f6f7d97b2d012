// Files that are not playable videos: opening fails with a reason, or playback
// ends with an event, with the same frames every time; never a crash or a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "graph_driver.h"

namespace trevanto::test {
namespace {

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// An unpaced run through a file: whether it opened, every frame's number and
// a checksum of its picture (rows hashed by the library, fast in sanitized
// builds too), then the end event's code.
std::vector<size_t> PlayThrough(const std::string& path) {
    OpenError error;
    auto graph = OpenUnpaced(path, error);
    if (!graph) {
        EXPECT_NE(error.cause.code, MediaErrorCode::None) << "a failed open tells why";
        return {};
    }
    graph->Run();
    std::vector<size_t> outcome = {2};
    GraphEvent event;
    int last = -1;
    while (WaitEvent(*graph, event, 30s) && event.code == GraphEventCode::Repaint) {
        // Frames come in order. Their pictures may not tell: a cut-off JPEG
        // keeps the rest of a recycled buffer.
        const int number = FrameAt(*graph, event.frameSeconds);
        EXPECT_GT(number, last);
        outcome.push_back(PictureHash(*event.frame, static_cast<size_t>(last = number)));
    }
    EXPECT_NE(event.code, GraphEventCode::Repaint)
        << "no end after " << outcome.size() << " frames";
    outcome.push_back(static_cast<size_t>(event.code));
    return outcome;
}

// One test per clip, so that each gets its own time bound and they run side
// by side.
class DamagedClipTest : public testing::TestWithParam<const char*> {};

TEST_P(DamagedClipTest, PlaysTheSameFramesEveryTime) {
    using Damage = std::function<void(std::vector<char>&)>;
    const std::pair<const char*, Damage> damages[] = {
        {"cut to half", [](std::vector<char>& b) { b.resize(b.size() / 2); }},
        {"an odd picture width",  // MPEG sequence headers 3 pixels narrower
         [](std::vector<char>& b) {
             for (size_t i = 0; i + 5 < b.size(); ++i)
                 if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == '\xB3') {
                     const int width = ((b[i + 4] & 0xFF) << 4 | (b[i + 5] & 0xF0) >> 4) - 3;
                     b[i + 4] = static_cast<char>(width >> 4);
                     b[i + 5] = static_cast<char>((width & 0xF) << 4 | (b[i + 5] & 0xF));
                 }
         }},
        {"header only", [](std::vector<char>& b) { b.resize(4096); }},
        {"a range zeroed",
         [](std::vector<char>& b) {
             std::fill_n(b.begin() + static_cast<long>(b.size() / 3), 20000, 0);
         }},
        {"noise after the header",
         [](std::vector<char>& b) {
             std::mt19937 random(2026);
             std::generate(b.begin() + 4096, b.end(), [&] { return static_cast<char>(random()); });
         }},
        {"1% of the bytes flipped",
         [](std::vector<char>& b) {
             std::mt19937 random(1206);
             for (size_t i = 0; i < b.size() / 100; ++i)
                 b[random() % b.size()] ^= static_cast<char>(1 + random() % 255);
         }},
    };
    TempFolder folder;
    const std::vector<char> whole = ReadAll(MediaPath(GetParam()));
    ASSERT_GT(whole.size(), 64000u);
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        std::vector<char> bytes = whole;
        damage(bytes);
        WriteAll(folder.File(GetParam()), bytes);
        EXPECT_EQ(PlayThrough(folder.File(GetParam())), PlayThrough(folder.File(GetParam())));
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, DamagedClipTest,
                         testing::Values("clip_mpeg2.mpg", "clip_mpeg1.mpg",
                                         "clip_mpeg4_bframes.avi", "clip_xvid_packed.avi",
                                         "clip_wmv2.asf"));

}  // namespace
}  // namespace trevanto::test

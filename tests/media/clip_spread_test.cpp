// The generated clips as the shot engine sees them: each decoded frame is
// scaled to 100 x 80 (by StretchFrom, or by the graph from the decoded
// picture as the document has it) and the change of the colour channels'
// spread must stay small inside a scene and be large at every listed cut.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "shots/frame_change_detector.h"
#include "support/test_clips.h"
#include "video/open_media_graph.h"

namespace trevanto::test {
namespace {

using namespace std::chrono_literals;

// Per channel mean absolute deviation, as the detector measures it.
std::array<double, 3> Spread(const Surface& thumbnail) {
    std::array<long, 3> sum{};
    const int count = thumbnail.Width() * thumbnail.Height();
    for (int y = 0; y < thumbnail.Height(); ++y)
        for (int x = 0; x < thumbnail.Width(); ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += (thumbnail.PixelRgb(x, y) >> (16 - 8 * c)) & 0xFF;
    std::array<double, 3> spread{};
    for (int c = 0; c < 3; ++c) {
        const long mean = sum[c] / count;
        long deviation = 0;
        for (int y = 0; y < thumbnail.Height(); ++y)
            for (int x = 0; x < thumbnail.Width(); ++x)
                deviation += std::labs(
                    static_cast<long>((thumbnail.PixelRgb(x, y) >> (16 - 8 * c)) & 0xFF) - mean);
        spread[c] = static_cast<double>(deviation) / count;
    }
    return spread;
}

struct Measured {
    std::vector<int> detectedCuts;  // first frames of new shots
    double largestInScene = 0.0;
    int largestAt = 0;
    double smallestAtCut = 1e9;
    int frames = 0;
};

enum class Shrinking { StretchFrom, ByTheGraph };

// Paced playback at a rate, with every frame asked for, up to a frame, by
// an owner that falls behind now and then; a rate of 0 plays unpaced.
struct Pacing {
    double rate = 0.0;
    int frames = 0;
};

Measured Measure(const TestClip& clip, bool readCodes, Shrinking shrinking = Shrinking::StretchFrom,
                 Pacing pacing = {}) {
    Measured measured;
    std::string error;
    auto graph = OpenMediaGraph(MediaPath(clip), error);
    EXPECT_TRUE(graph) << error;
    if (!graph)
        return measured;
    graph->SetPaced(pacing.rate > 0.0);
    if (pacing.rate > 0.0) {
        graph->SetRate(pacing.rate);
        graph->SetDeliverEveryFrame(true);
    }
    const auto stall =
        std::chrono::duration<double>(4.0 / clip.framesPerSecond / std::max(pacing.rate, 1.0));
    if (shrinking == Shrinking::ByTheGraph)
        graph->SetThumbnailSize(100, 80);
    graph->Run();
    FrameChangeDetector detector;
    Surface thumbnail(100, 80);
    std::array<double, 3> previous{};
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    GraphEvent event;
    for (int frame = 0; std::chrono::steady_clock::now() < deadline;) {
        if (!graph->GetEvent(event)) {
            std::this_thread::sleep_for(1ms);
            continue;
        }
        if (event.code != GraphEventCode::Repaint || (pacing.frames > 0 && frame == pacing.frames))
            break;
        if (pacing.rate > 0.0 && frame % 10 == 9)
            std::this_thread::sleep_for(stall);  // four frames late
        if (readCodes) {
            EXPECT_EQ(ReadFrameCode(*event.frame), frame);
        }
        if (shrinking == Shrinking::ByTheGraph) {
            EXPECT_TRUE(event.thumbnail);
            if (!event.thumbnail)
                break;
            for (int y = 0; y < 80; ++y)
                std::memcpy(thumbnail.Row(y), event.thumbnail->Row(y), 100 * 4);
        } else {
            thumbnail.StretchFrom(*event.frame, Rect{0, 0, 100, 80});
        }
        const std::array<double, 3> spread = Spread(thumbnail);
        double change = 0.0;
        for (int c = 0; c < 3; ++c)
            change += std::fabs(spread[c] - previous[c]);
        previous = spread;
        const bool atCut = std::find(clip.cuts.begin(), clip.cuts.end(), frame) != clip.cuts.end();
        if (frame > 0 && atCut)
            measured.smallestAtCut = std::min(measured.smallestAtCut, change);
        if (frame > 0 && !atCut && change > measured.largestInScene) {
            measured.largestInScene = change;
            measured.largestAt = frame;
        }

        const LockedPixels pixels = thumbnail.Lock();
        const FramePixels input{pixels.bits,
                                pixels.pitch,
                                pixels.width,
                                pixels.height,
                                pixels.format.bitsPerPixel,
                                pixels.format.redMask,
                                pixels.format.greenMask,
                                pixels.format.blueMask};
        DetectorReport report;
        report.state = frame == 0 ? 0 : 1;
        report.threshold = 15.0f;
        detector.AnalyseFrame(input, 0, 0, 100, 80, frame, &report);
        thumbnail.Unlock();
        if (report.state == 2)
            measured.detectedCuts.push_back(report.cutEnd + 1);
        measured.frames = ++frame;
    }
    return measured;
}

class ClipSpreadTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(ClipSpreadTest, TheShotEngineFindsExactlyTheListedCuts) {
    const TestClip& clip = GetParam();
    const Measured measured = Measure(clip, true);
    EXPECT_EQ(measured.frames, clip.frameCount);
    EXPECT_EQ(measured.detectedCuts, clip.cuts);
    EXPECT_LT(measured.largestInScene, 5.0) << "change inside a scene";
    EXPECT_GT(measured.smallestAtCut, 40.0) << "change at a cut";
    RecordProperty("largestInScene", std::to_string(measured.largestInScene));
    RecordProperty("smallestAtCut", std::to_string(measured.smallestAtCut));
    std::printf("%s: largest change in a scene %.2f (frame %d), smallest at a cut %.2f\n",
                clip.file.c_str(), measured.largestInScene, measured.largestAt,
                measured.smallestAtCut);
}

TEST_P(ClipSpreadTest, TheShotEngineFindsExactlyTheListedCutsOnTheGraphsThumbnails) {
    const TestClip& clip = GetParam();
    const Measured measured = Measure(clip, false, Shrinking::ByTheGraph);
    EXPECT_EQ(measured.frames, clip.frameCount);
    EXPECT_EQ(measured.detectedCuts, clip.cuts);
    EXPECT_LT(measured.largestInScene, 5.0) << "change inside a scene";
    EXPECT_GT(measured.smallestAtCut, 40.0) << "change at a cut";
    std::printf(
        "%s, the graph's thumbnails: largest change in a scene %.2f (frame %d), "
        "smallest at a cut %.2f\n",
        clip.file.c_str(), measured.largestInScene, measured.largestAt, measured.smallestAtCut);
}

// Paced playback at any rate hands a slicing run every frame, however late
// its owner is: the cuts are those of unpaced decoding.
TEST(PacedEveryFrameTest, TheShotEngineFindsTheSameCutsAtEveryRate) {
    const TestClip& clip = TestClips().front();
    const Pacing pacings[] = {{2.0, 100}, {1.0, 100}};
    for (const Pacing& pacing : pacings) {
        const Measured measured = Measure(clip, true, Shrinking::StretchFrom, pacing);
        EXPECT_EQ(measured.frames, pacing.frames) << "x" << pacing.rate;
        EXPECT_EQ(measured.detectedCuts, (std::vector<int>{40, 85})) << "x" << pacing.rate;
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipSpreadTest, ::testing::ValuesIn(TestClips()),
                         [](const ::testing::TestParamInfo<TestClip>& clip) {
                             std::string name = clip.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(SampleVideoTest, TheShotEngineFindsTheSceneCuts) {
    const Measured measured = Measure(SampleVideo(), false);
    EXPECT_EQ(measured.frames, SampleVideo().frameCount);
    std::printf("sample: cuts found:");
    for (const int cut : measured.detectedCuts)
        std::printf(" %d", cut);
    std::printf("; largest change in a scene %.2f, smallest at a cut %.2f\n",
                measured.largestInScene, measured.smallestAtCut);
    for (const int cut : SampleVideo().cuts)
        EXPECT_NE(std::find(measured.detectedCuts.begin(), measured.detectedCuts.end(), cut),
                  measured.detectedCuts.end())
            << "cut at " << cut;
}

}  // namespace
}  // namespace trevanto::test

// The generated clips as the shot engine sees them: the graph shrinks every
// decoded frame to 100 x 80, the detector must cut exactly at the listed cuts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "shots/frame_change_detector.h"
#include "video/graph_driver.h"

namespace trevanto::test {
namespace {

// Plays the clip (unpaced at rate 0, else paced with every frame asked for,
// by an owner four frames late now and then) up to `frames` frames, or all;
// returns the first frames of the shots the engine found, then the frame count.
std::pair<std::vector<int>, int> EngineCuts(const TestClip& clip, double rate = 0.0,
                                            int frames = 0) {
    std::vector<int> cuts;
    std::string error;
    auto graph = OpenMediaGraph(MediaPath(clip), error);
    EXPECT_TRUE(graph) << error;
    if (!graph)
        return {cuts, 0};
    graph->SetPaced(rate > 0.0);
    if (rate > 0.0) {
        graph->SetRate(rate);
        graph->SetDeliverEveryFrame(true);
    }
    graph->SetThumbnailSize(100, 80);
    graph->Run();
    FrameChangeDetector detector;
    Surface thumbnail(100, 80);
    GraphEvent event;
    int frame = 0;
    while (WaitEvent(*graph, event)) {
        if (event.code != GraphEventCode::Repaint || (frames > 0 && frame == frames))
            break;
        if (rate > 0.0 && frame % 10 == 9)
            std::this_thread::sleep_for(std::chrono::duration<double>(4.0 / clip.framesPerSecond));
        if (!event.thumbnail) {
            ADD_FAILURE() << "no thumbnail at frame " << frame;
            break;
        }
        for (int y = 0; y < 80; ++y)
            std::memcpy(thumbnail.Row(y), event.thumbnail->Row(y), 100 * 4);
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
            cuts.push_back(report.cutEnd + 1);
        ++frame;
    }
    return {cuts, frame};
}

class ClipSpreadTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(ClipSpreadTest, TheShotEngineFindsExactlyTheListedCuts) {
    const TestClip& clip = GetParam();
    EXPECT_EQ(EngineCuts(clip), std::make_pair(clip.cuts, clip.frameCount));
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipSpreadTest, ::testing::ValuesIn(TestClips()), ClipTestName());

// Paced playback at any rate hands a slicing run every frame, however late
// its owner is: the cuts are those of unpaced decoding.
TEST(PacedEveryFrameTest, TheShotEngineFindsTheSameCutsAtEveryRate) {
    for (const double rate : {2.0, 1.0}) {
        EXPECT_EQ(EngineCuts(TestClips().front(), rate, 100),
                  std::make_pair(std::vector<int>{40, 85}, 100))
            << "x" << rate;
    }
}

TEST(SampleVideoTest, TheShotEngineFindsTheSceneCuts) {
    const auto [cuts, frames] = EngineCuts(SampleVideo());
    EXPECT_EQ(frames, SampleVideo().frameCount);
    for (const int cut : SampleVideo().cuts)
        EXPECT_NE(std::find(cuts.begin(), cuts.end(), cut), cuts.end()) << "cut at " << cut;
}

}  // namespace
}  // namespace trevanto::test

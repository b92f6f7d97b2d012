// Opening and closing videos on a fake graph: refused formats, failures and
// the state an open leaves.
#include <gtest/gtest.h>

#include <functional>

#include "video/fake_media_graph.h"
#include "video/player.h"
#include "video/player_messages.h"
#include "video/recording_player_listener.h"

namespace trevanto {
namespace {

using test::FakeGraphSource;
using test::RecordingPlayerListener;

struct PlayerOpen : ::testing::Test {
    FakeGraphSource source;
    RecordingPlayerListener listener;
    Player player{source.Factory(), listener};
};

TEST_F(PlayerOpen, FailuresAreReportedAndLeaveThePlayerClosed) {
    struct Row {
        const char* path;
        std::function<void(test::FakeGraphSource&, test::RecordingPlayerListener&)> setUp;
        OpenFailure failure;
        int graphsOpened;
    };
    const auto none = [](test::FakeGraphSource&, test::RecordingPlayerListener&) {};
    const Row rows[] = {
        {"/videos/holiday.MOV", none, OpenFailure::Quicktime, 0},
        {"/videos/talk.rm", none, OpenFailure::RealMedia, 0},
        {"/videos/radio.RAM", none, OpenFailure::RealMedia, 0},
        {"clip.Mp4", none, OpenFailure::H264, 0},
        {"/videos/broken.avi", [](auto& source, auto&) { source.fail = true; },
         OpenFailure::CannotPlay, 1},
        {"/music/song.mpg", [](auto& source, auto&) { source.width = 0; }, OpenFailure::CannotPlay,
         1},
        {"/videos/news.mpg", [](auto&, auto& owner) { owner.surfacesOk = false; },
         OpenFailure::NoSurfaces, 0},
    };
    for (const Row& row : rows) {
        test::FakeGraphSource source;
        test::RecordingPlayerListener owner;
        row.setUp(source, owner);
        Player player{source.Factory(), owner};
        EXPECT_FALSE(player.OpenVideo(row.path)) << row.path;
        EXPECT_EQ(owner.failures, std::vector<OpenFailure>{row.failure}) << row.path;
        EXPECT_EQ(source.openCount, row.graphsOpened) << row.path;
        EXPECT_EQ(player.State(), PlayerState::Closed) << row.path;
    }
    // A path of four characters is not checked.
    EXPECT_TRUE(player.OpenVideo(".mov"));
}

TEST_F(PlayerOpen, OpenStartsPlayingWithMarksClearedAndNormalRate) {
    source.prepare = [](test::FakeMediaGraph& graph) { graph.SetRate(0.5); };
    ASSERT_TRUE(player.OpenVideo("/videos/news.mpg"));
    EXPECT_EQ(player.State(), PlayerState::Running);
    EXPECT_TRUE(listener.Checked(PlayerButton::Play));
    EXPECT_FALSE(listener.Checked(PlayerButton::Pause));
    EXPECT_EQ(player.RangeStart(), -1);
    EXPECT_EQ(player.RangeEnd(), -1);
    EXPECT_EQ(listener.startMark, -1);
    EXPECT_EQ(listener.endMark, -1);
    EXPECT_DOUBLE_EQ(source.opened->Rate(), 1.0);
    EXPECT_EQ(player.OpenedPath(), "/videos/news.mpg");
    EXPECT_EQ(listener.title, "news.mpg");
    EXPECT_EQ(listener.frameCount, 250);
}

TEST_F(PlayerOpen, OpeningAnotherVideoStopsTheRunAndClosesTheFirst) {
    ASSERT_TRUE(player.OpenVideo("/videos/one.mpg"));
    ASSERT_TRUE(player.SetPlayRange(10, 20));
    ASSERT_TRUE(player.OpenVideo("/videos/two.mpg"));
    EXPECT_EQ(listener.slicingStops, 1);
    EXPECT_EQ(listener.closes, 1);
    EXPECT_EQ(player.RangeStart(), -1);
    EXPECT_EQ(player.State(), PlayerState::Running);
    EXPECT_EQ(source.opened->PositionFrame(), 0);
}

TEST_F(PlayerOpen, FrameTimesOfAVideoWithoutFrameDuration) {
    source.frames = 100;
    source.secondsPerFrame = 0.04;
    source.prepare = [](test::FakeMediaGraph& graph) { graph.reportedTimePerFrame = 0.0; };
    EXPECT_DOUBLE_EQ(player.AvgTimePerFrame(), 0.0);
    EXPECT_EQ(player.FrameCount(), -1);
    EXPECT_EQ(player.CurrentFrame(), -1);
    ASSERT_TRUE(player.OpenVideo("/videos/news.mpg"));
    EXPECT_DOUBLE_EQ(player.AvgTimePerFrame(), 0.04);
    EXPECT_EQ(player.FrameCount(), 100);
    EXPECT_EQ(player.SecondsToFrame(0.059), 1);
    EXPECT_EQ(player.SecondsToFrame(0.06), 2);  // halves go up
    EXPECT_DOUBLE_EQ(player.FrameToSeconds(25), 1.0);
}

TEST_F(PlayerOpen, CloseForgetsTheVideo) {
    ASSERT_TRUE(player.OpenVideo("/videos/news.mpg"));
    player.CloseVideo();
    EXPECT_EQ(player.State(), PlayerState::Closed);
    EXPECT_EQ(player.FrameCount(), -1);
    EXPECT_DOUBLE_EQ(player.DurationSeconds(), 0.0);
    EXPECT_EQ(listener.closes, 1);
}

}  // namespace
}  // namespace trevanto

// Opening and closing videos on a fake graph: refused formats, failures and
// the state an open leaves.
#include <gtest/gtest.h>

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

TEST_F(PlayerOpen, RefusesFormatsByExtensionWithTheirMessages) {
    const std::pair<const char*, const char*> cases[] = {
        {"/videos/holiday.MOV", message::kQuicktime},
        {"/videos/talk.rm", message::kRealMedia},
        {"/videos/radio.RAM", message::kRealMedia},
        {"/videos/phone.mp4", message::kH264},
        {"clip.Mp4", message::kH264},
    };
    for (const auto& [path, text] : cases) {
        listener.messages.clear();
        EXPECT_FALSE(player.OpenVideo(path)) << path;
        ASSERT_EQ(listener.messages.size(), 1u) << path;
        EXPECT_EQ(listener.messages[0], text) << path;
    }
    EXPECT_EQ(source.openCount, 0);
    EXPECT_EQ(player.State(), PlayerState::Closed);
}

TEST_F(PlayerOpen, PathOfFourCharactersIsNotChecked) {
    EXPECT_TRUE(player.OpenVideo(".mov"));
    EXPECT_EQ(source.openCount, 1);
    EXPECT_TRUE(listener.messages.empty());
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

TEST_F(PlayerOpen, UnplayableFileShowsMessageAndStaysClosed) {
    source.fail = true;
    EXPECT_FALSE(player.OpenVideo("/videos/broken.avi"));
    ASSERT_EQ(listener.messages.size(), 1u);
    EXPECT_EQ(listener.messages[0], message::kCannotPlay);
    EXPECT_EQ(player.State(), PlayerState::Closed);
}

TEST_F(PlayerOpen, StreamWithoutPictureCannotBePlayed) {
    source.width = 0;
    EXPECT_FALSE(player.OpenVideo("/music/song.mpg"));
    ASSERT_EQ(listener.messages.size(), 1u);
    EXPECT_EQ(listener.messages[0], message::kCannotPlay);
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(PlayerOpen, SurfacesThatCannotBeMadeFailTheOpen) {
    listener.surfacesOk = false;
    EXPECT_FALSE(player.OpenVideo("/videos/news.mpg"));
    ASSERT_EQ(listener.messages.size(), 1u);
    EXPECT_EQ(listener.messages[0], message::kQuartzFailed);
    EXPECT_EQ(source.openCount, 0);
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

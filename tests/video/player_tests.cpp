// The player on a fake graph: open and close, transport, marks, seeks, aborts.
// (Frames presented and awaited, the ends of video and range: tests/app.)
#include <gtest/gtest.h>

#include <tuple>

#include "video/fake_media_graph.h"
#include "video/player.h"
#include "video/recording_player_listener.h"

namespace trevanto {
namespace {

using test::FakeGraphSource;
using test::RecordingPlayerListener;

TEST(PlayerOpen, FailuresAreReportedAndLeaveThePlayerClosed) {
    const struct {
        const char* path;
        bool graphFails;
        int width;
        bool surfacesOk;
        OpenFailure failure;
    } rows[] = {
        // The kinds once refused by name say so when they do not decode.
        {"/videos/holiday.MOV", true, 64, true, OpenFailure::Quicktime},
        {"/videos/radio.RAM", true, 64, true, OpenFailure::RealMedia},
        {"/videos/radio.rm", false, 0, true, OpenFailure::RealMedia},
        {"clip.Mp4", true, 64, true, OpenFailure::H264},
        {".mov", true, 64, true, OpenFailure::CannotPlay},  // four characters: no name
        {"/videos/broken.avi", true, 64, true, OpenFailure::CannotPlay},
        {"/music/song.mpg", false, 0, true, OpenFailure::CannotPlay},
        {"/videos/news.mpg", false, 64, false, OpenFailure::NoSurfaces},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        FakeGraphSource source;
        source.fail = row.graphFails, source.width = row.width;
        RecordingPlayerListener owner;
        owner.surfacesOk = row.surfacesOk;
        Player player{source.Factory(), owner};
        EXPECT_FALSE(player.OpenVideo(row.path));
        EXPECT_EQ(owner.failures, std::vector<OpenFailure>{row.failure});
        EXPECT_EQ(source.openCount, row.surfacesOk ? 1 : 0);
        EXPECT_EQ(player.State(), PlayerState::Closed);
    }
}

struct PlayerTest : ::testing::Test {
    void SetUp() override {
        source.frames = 100;
        ASSERT_TRUE(player.OpenVideo("/videos/news.mpg"));
        graph = source.opened;
    }
    void Show(int frame) {
        graph->DeliverFrame(frame);
        player.HandleGraphEvents();
    }
    // The player's state and its Play and Pause buttons.
    std::tuple<PlayerState, bool, bool> State() const {
        return {player.State(), listener.Checked(PlayerButton::Play),
                listener.Checked(PlayerButton::Pause)};
    }
    FakeGraphSource source;
    RecordingPlayerListener listener;
    Player player{source.Factory(), listener};
    test::FakeMediaGraph* graph = nullptr;
};

TEST_F(PlayerTest, OpenPlaysWithMarksClearedAndAnotherOpenOrCloseEndsTheFirst) {
    EXPECT_EQ(State(), std::tuple(PlayerState::Running, true, false));
    EXPECT_EQ(listener.marks, std::pair(-1, -1));
    EXPECT_EQ(listener.title + std::to_string(listener.frameCount), "news.mpg100");
    ASSERT_TRUE(player.SetPlayRange(10, 20));
    source.prepare = [](test::FakeMediaGraph& next) { next.SetRate(0.5); };
    ASSERT_TRUE(player.OpenVideo("/videos/two.mpg"));
    EXPECT_EQ(std::tuple(listener.slicingStops, listener.closes, player.RangeStart()),
              std::tuple(1, 1, -1));
    EXPECT_DOUBLE_EQ(source.opened->Rate(), 1.0);
    player.CloseVideo();
    EXPECT_EQ(std::tuple(player.FrameCount(), player.CurrentFrame(), listener.closes),
              std::tuple(-1, -1, 2));
    EXPECT_TRUE(player.OpenVideo("/videos/holiday.MOV"));  // decodes: opens
}

TEST_F(PlayerTest, TransportStatesAbortsAndWhatIsSaidWithoutAVideo) {
    player.Play();  // while running: pauses
    EXPECT_EQ(State(), std::tuple(PlayerState::Paused, false, true));
    player.Pause();  // while paused: resumes
    EXPECT_EQ(State(), std::tuple(PlayerState::Running, true, false));
    player.TogglePlayPause();
    graph->runFails = true;
    player.Play();
    EXPECT_EQ(State(), std::tuple(PlayerState::Paused, false, true));
    EXPECT_EQ(listener.noVideo, 1);
    graph->runFails = false;
    // Paused, frames past the play range do not end it.
    ASSERT_TRUE(player.SetPlayRange(10, 20));
    Show(50);
    EXPECT_TRUE(listener.playbackEnds.empty() && listener.presentedBeyondRange == 0);
    player.TogglePlayPause();
    player.Stop();  // rewinds and ends the run
    EXPECT_EQ(State(), std::tuple(PlayerState::Stopped, false, false));
    EXPECT_EQ(std::pair(graph->GetState(), graph->PositionFrame()),
              std::pair(GraphState::Stopped, 0));
    EXPECT_EQ(listener.slicingStops, 1);
    player.Stop();  // again: only said
    for (const auto code : {GraphEventCode::UserAbort, GraphEventCode::ErrorAbort}) {
        player.Pause();  // stopped: pauses
        player.Play();
        ASSERT_EQ(player.State(), PlayerState::Running);
        graph->DeliverEvent(code);
        player.HandleGraphEvents();
        EXPECT_EQ(player.State(), PlayerState::Stopped);
    }
    EXPECT_EQ(listener.slicingStops, 3);
    graph->DeliverEvent(GraphEventCode::ErrorAbort);  // already stopped: said
    player.HandleGraphEvents();
    player.CloseVideo();
    player.Play();  // asks for a file
    EXPECT_EQ(listener.openFileRequests, 1);
    player.Pause();
    player.Stop();
    player.SetMark(MarkSide::Start, false);
    player.TogglePlayPause();  // silent
    EXPECT_EQ(listener.noVideo, 6);
}

TEST_F(PlayerTest, RateStepsMarksThatSwapRefusedSeeksAndScrubbing) {
    graph->SetRate(0.75);
    player.SetRate(0.8f);  // less than a tenth away
    EXPECT_EQ(std::pair(graph->Rate(), player.RequestedRate()), std::pair(0.75, 0.8f));
    graph->SetRate(0.9);
    player.SetRate(1.0f);  // exactly a tenth away
    EXPECT_NEAR(graph->Rate(), 1.0, 1e-6);

    player.Pause();  // while running, passing the end mark would loop
    Show(50);
    player.SetMark(MarkSide::End, false);
    Show(75);
    player.SetMark(MarkSide::Start, false);  // after the end: the marks swap roles
    EXPECT_EQ(std::pair(player.RangeStart(), player.RangeEnd()), std::pair(50, 75));
    EXPECT_EQ(listener.marks, std::pair(50, 75));
    Show(20);
    player.SetMark(MarkSide::End, false);  // before the start: they swap again
    EXPECT_EQ(std::pair(player.RangeStart(), player.RangeEnd()), std::pair(20, 50));
    player.SetMark(MarkSide::Start, true);  // Shift clears
    player.SetMark(MarkSide::End, true);
    EXPECT_EQ(listener.marks, std::pair(-1, -1));
    EXPECT_FALSE(player.SetPlayRange(80, 50) || player.SetPlayRange(0, 100));

    graph->seekFails = true;
    int seeks = graph->seekCount;
    player.SeekToFrame(90);
    EXPECT_EQ(graph->seekCount, seeks + 2);  // the seek and the way back
    graph->seekFails = false;
    seeks = graph->seekCount;
    player.SeekToSeconds(4.01);  // past the end or before the start: not sought
    player.SeekToSeconds(-0.5);
    EXPECT_EQ(graph->seekCount, seeks);
    player.SeekToSeconds(4.0);
    EXPECT_EQ(graph->PositionFrame(), 100);
    player.HandleGraphEvents();
    player.ScrubToFrame(45, false);
    player.ScrubToFrame(42, false);  // the sought frame has not come yet
    EXPECT_EQ(graph->seekCount, seeks + 2);
    player.ScrubToFrame(42, true);  // forced
    EXPECT_EQ(graph->PositionFrame(), 42);
    player.HandleGraphEvents();
    EXPECT_FALSE(player.SeekIssued());
    player.ScrubToFrame(42, false);  // the same frame again: no seek
    EXPECT_EQ(graph->seekCount, seeks + 3);
}

}  // namespace
}  // namespace trevanto

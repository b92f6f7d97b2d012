// Play, Pause, Stop, rate, marks and seeking on a fake graph.
#include <gtest/gtest.h>

#include "video/fake_media_graph.h"
#include "video/player.h"
#include "video/player_messages.h"
#include "video/recording_player_listener.h"

namespace trevanto {
namespace {

using test::FakeGraphSource;
using test::RecordingPlayerListener;

struct PlayerTransport : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(player.OpenVideo("/videos/news.mpg")); }
    // Shows `frame` as the current one.
    void ShowFrame(int frame) {
        source.opened->DeliverFrame(frame);
        player.HandleGraphEvents();
    }

    FakeGraphSource source;
    RecordingPlayerListener listener;
    Player player{source.Factory(), listener};
};

TEST_F(PlayerTransport, PlayWhileRunningPausesAndPauseWhilePausedResumes) {
    ASSERT_EQ(player.State(), PlayerState::Running);
    player.Play();
    EXPECT_EQ(player.State(), PlayerState::Paused);
    EXPECT_FALSE(listener.Checked(PlayerButton::Play));
    EXPECT_TRUE(listener.Checked(PlayerButton::Pause));
    EXPECT_FALSE(listener.Checked(PlayerButton::Stop));

    player.Pause();
    EXPECT_EQ(player.State(), PlayerState::Running);
    EXPECT_TRUE(listener.Checked(PlayerButton::Play));
    EXPECT_FALSE(listener.Checked(PlayerButton::Pause));

    player.TogglePlayPause();
    EXPECT_EQ(player.State(), PlayerState::Paused);
    player.TogglePlayPause();
    EXPECT_EQ(player.State(), PlayerState::Running);
    EXPECT_TRUE(listener.messages.empty());
}

TEST_F(PlayerTransport, StopRewindsUnchecksAndEndsTheRun) {
    ShowFrame(120);
    player.Stop();
    EXPECT_EQ(player.State(), PlayerState::Stopped);
    EXPECT_EQ(source.opened->GetState(), GraphState::Stopped);
    EXPECT_EQ(source.opened->PositionFrame(), 0);
    EXPECT_FALSE(listener.Checked(PlayerButton::Play));
    EXPECT_FALSE(listener.Checked(PlayerButton::Pause));
    EXPECT_EQ(listener.slicingStops, 1);

    // Stopped: Pause pauses, Stop again only tells the user.
    player.Stop();
    EXPECT_EQ(listener.messages.back(), message::kLoadMovieFirst);
    player.Pause();
    EXPECT_EQ(player.State(), PlayerState::Paused);
}

TEST_F(PlayerTransport, WithoutVideoTransportAsksForOneAndPlayOpensTheDialog) {
    player.CloseVideo();
    player.Play();
    EXPECT_EQ(listener.openFileRequests, 1);
    EXPECT_TRUE(listener.messages.empty());
    player.Pause();
    player.Stop();
    player.SetStartMark(false);
    ASSERT_EQ(listener.messages.size(), 3u);
    for (const auto& text : listener.messages)
        EXPECT_EQ(text, message::kLoadMovieFirst);
    player.TogglePlayPause();  // silent
    EXPECT_EQ(listener.messages.size(), 3u);
}

TEST_F(PlayerTransport, FailedRunUnchecksPlayAndTellsTheUser) {
    player.Pause();
    source.opened->runFails = true;
    player.Play();
    EXPECT_EQ(player.State(), PlayerState::Paused);
    EXPECT_FALSE(listener.Checked(PlayerButton::Play));
    EXPECT_EQ(listener.messages.back(), message::kLoadMovieFirst);
}

TEST_F(PlayerTransport, RateChangesOnlyByAtLeastATenth) {
    source.opened->SetRate(0.75);
    const int calls = source.opened->setRateCount;
    player.SetRate(0.8f);
    EXPECT_EQ(source.opened->setRateCount, calls);
    EXPECT_FLOAT_EQ(player.RequestedRate(), 0.8f);
    player.SetRate(0.1f);
    EXPECT_EQ(source.opened->setRateCount, calls + 1);
    EXPECT_NEAR(source.opened->Rate(), 0.1, 1e-6);
    source.opened->SetRate(0.9);
    player.SetRate(1.0f);  // exactly a tenth away
    EXPECT_NEAR(source.opened->Rate(), 1.0, 1e-6);
}

TEST_F(PlayerTransport, EndMarkBeforeStartThenStartAfterItSwap) {
    player.Pause();  // while running, passing the end mark would loop
    ShowFrame(100);
    player.SetEndMark(false);
    EXPECT_EQ(player.RangeEnd(), 100);
    ShowFrame(150);
    player.SetStartMark(false);  // after the end: the marks swap roles
    EXPECT_EQ(player.RangeStart(), 100);
    EXPECT_EQ(player.RangeEnd(), 150);
    EXPECT_EQ(listener.startMark, 100);
    EXPECT_EQ(listener.endMark, 150);

    ShowFrame(40);
    player.SetEndMark(false);  // before the start: they swap again
    EXPECT_EQ(player.RangeStart(), 40);
    EXPECT_EQ(player.RangeEnd(), 100);

    player.SetStartMark(true);  // Shift clears
    EXPECT_EQ(player.RangeStart(), -1);
    EXPECT_EQ(listener.startMark, -1);
    player.SetEndMark(true);
    EXPECT_EQ(player.RangeEnd(), -1);
    EXPECT_EQ(listener.endMark, -1);
}

TEST_F(PlayerTransport, PlayFromOutsideTheRangeStartsAtItsStart) {
    ASSERT_TRUE(player.SetPlayRange(50, 80));
    player.Pause();
    ShowFrame(10);
    player.Play();
    EXPECT_EQ(source.opened->PositionFrame(), 50);
    player.Pause();
    ShowFrame(60);
    player.Play();  // inside: no seek
    EXPECT_EQ(source.opened->PositionFrame(), 60);
    EXPECT_FALSE(player.SetPlayRange(80, 50));
    EXPECT_FALSE(player.SetPlayRange(0, 250));
}

TEST_F(PlayerTransport, RefusedSeekGoesBackToWhereTheVideoWas) {
    ShowFrame(30);
    source.opened->seekFails = true;
    const int before = source.opened->seekCount;
    player.SeekToFrame(100);
    EXPECT_EQ(source.opened->seekCount, before + 2);  // the seek and the way back
    EXPECT_TRUE(player.SeekIssued());
    source.opened->seekFails = false;

    // Times past the end or before the start are not sought at all.
    const int seeks = source.opened->seekCount;
    player.SeekToSeconds(10.01);
    player.SeekToSeconds(-0.5);
    EXPECT_EQ(source.opened->seekCount, seeks);
    player.SeekToSeconds(10.0);
    EXPECT_EQ(source.opened->PositionFrame(), 250);
}

TEST_F(PlayerTransport, ScrubbingSeeksOncePerFrameAndWaitsForThePicture) {
    const int seeks = source.opened->seekCount;
    player.ScrubToFrame(125, false);
    EXPECT_EQ(source.opened->PositionFrame(), 125);
    EXPECT_EQ(source.opened->seekCount, seeks + 1);
    player.ScrubToFrame(122, false);  // the sought frame has not come yet
    EXPECT_EQ(source.opened->seekCount, seeks + 1);
    player.ScrubToFrame(122, true);  // forced
    EXPECT_EQ(source.opened->PositionFrame(), 122);
    player.HandleGraphEvents();  // the pictures arrive
    EXPECT_FALSE(player.SeekIssued());
    player.ScrubToFrame(122, false);  // same frame again: no seek
    EXPECT_EQ(source.opened->seekCount, seeks + 2);
}

}  // namespace
}  // namespace trevanto

// Graph events on a fake graph: presenting, awaited frames, the end of the
// video and of the play range, aborts.
#include <gtest/gtest.h>

#include "video/fake_media_graph.h"
#include "video/player.h"
#include "video/player_messages.h"
#include "video/recording_player_listener.h"

namespace trevanto {
namespace {

using test::FakeGraphSource;
using test::RecordingPlayerListener;

struct PlayerEvents : ::testing::Test {
    void SetUp() override {
        source.frames = 100;
        ASSERT_TRUE(player.OpenVideo("/videos/news.mpg"));
        graph = source.opened;
    }
    void Deliver(int from, int to) {
        for (int frame = from; frame <= to; ++frame) {
            graph->DeliverFrame(frame);
            player.HandleGraphEvents();
        }
    }

    FakeGraphSource source;
    RecordingPlayerListener listener;
    Player player{source.Factory(), listener};
    test::FakeMediaGraph* graph = nullptr;
};

TEST_F(PlayerEvents, EveryDeliveredFrameIsPresentedAndBecomesCurrent) {
    Deliver(0, 9);
    EXPECT_EQ(listener.presented, 10);
    EXPECT_EQ(player.CurrentFrame(), 9);
    ASSERT_NE(player.FrameSurface(), nullptr);
    EXPECT_EQ(player.FrameSurface()->Width(), 64);
}

TEST_F(PlayerEvents, AwaitedFrameIsHandedOverInsteadOfPresented) {
    player.AwaitFrame();
    player.SeekToFrame(42);
    player.HandleGraphEvents();
    EXPECT_EQ(listener.presented, 0);
    EXPECT_EQ(listener.awaitedFrames, 1);
    EXPECT_EQ(player.CurrentFrame(), 42);
    EXPECT_FALSE(player.FrameAwaited());
    Deliver(43, 43);
    EXPECT_EQ(listener.presented, 1);
}

TEST_F(PlayerEvents, EndOfVideoClosesAfterTheLastFrameAndRewinds) {
    Deliver(0, 99);
    graph->DeliverEvent(GraphEventCode::Complete);
    player.HandleGraphEvents();
    ASSERT_EQ(listener.playbackEnds.size(), 1u);
    EXPECT_EQ(listener.playbackEnds[0], 100);
    EXPECT_EQ(graph->PositionFrame(), 0);
    EXPECT_EQ(player.State(), PlayerState::Running);  // playback goes on
}

TEST_F(PlayerEvents, PlayRangeLoopsAndEndsAtTheFirstFramePastItsEnd) {
    ASSERT_TRUE(player.SetPlayRange(10, 20));
    graph->DropEvents();
    player.Pause();
    player.Play();  // outside the range: starts at 10
    EXPECT_EQ(graph->PositionFrame(), 10);
    player.HandleGraphEvents();
    Deliver(11, 20);
    EXPECT_TRUE(listener.playbackEnds.empty());
    Deliver(21, 21);
    ASSERT_EQ(listener.playbackEnds.size(), 1u);
    EXPECT_EQ(listener.playbackEnds[0], 21);
    EXPECT_EQ(listener.presentedBeyondRange, 1);
    EXPECT_EQ(graph->PositionFrame(), 10);  // looped back to the start mark
    player.HandleGraphEvents();
    EXPECT_EQ(player.CurrentFrame(), 10);
    Deliver(11, 21);
    EXPECT_EQ(listener.playbackEnds.size(), 2u);
}

TEST_F(PlayerEvents, PausedFramesPastTheRangeDoNotEndIt) {
    ASSERT_TRUE(player.SetPlayRange(10, 20));
    player.Pause();
    player.SeekToFrame(50);
    player.HandleGraphEvents();
    EXPECT_TRUE(listener.playbackEnds.empty());
    EXPECT_EQ(listener.presentedBeyondRange, 0);
}

TEST_F(PlayerEvents, AbortsStopTheVideo) {
    for (const auto code : {GraphEventCode::UserAbort, GraphEventCode::ErrorAbort}) {
        if (player.State() != PlayerState::Running)
            player.Play();
        ASSERT_EQ(player.State(), PlayerState::Running);
        listener.slicingStops = 0;
        graph->DeliverEvent(code);
        player.HandleGraphEvents();
        EXPECT_EQ(player.State(), PlayerState::Stopped);
        EXPECT_EQ(listener.slicingStops, 1);
    }
    graph->DeliverEvent(GraphEventCode::ErrorAbort);  // already stopped
    player.HandleGraphEvents();
    EXPECT_EQ(listener.messages.back(), message::kLoadMovieFirst);
}

TEST_F(PlayerEvents, NotifyIsInstalledOnTheGraph) {
    int notified = 0;
    player.SetGraphNotify([&notified] { ++notified; });
    graph->DeliverFrame(3);
    EXPECT_EQ(notified, 1);
    player.SetPaced(false);
    EXPECT_FALSE(graph->Paced());
}

}  // namespace
}  // namespace trevanto

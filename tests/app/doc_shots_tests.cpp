// The document's shot list operations with a recording view.
#include "app/command_ids.h"
#include "document_fixture.h"
#include "video/player_messages.h"

namespace trevanto {
namespace {

using Shots = test::DocumentTest;

TEST_F(Shots, AddedShotsAreNumberedCaptionedAndCounted) {
    Open();
    AddShots({{0, 99}, {100, 199}});
    EXPECT_EQ(view.Captions(),
              (std::vector<std::string>{"shot 0001 ( 0 - 99 )", "shot 0002 ( 100 - 199 )"}));
    EXPECT_EQ(frame.shotCountPane, 2);
    const Shot* second = doc.Shots().FindShotByItem(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->number, 2);
    EXPECT_EQ(second->imageFrame, 100);
    EXPECT_EQ(second->imageIndex, 1);
}

TEST_F(Shots, RefusedShotStaysWithoutViewIndexes) {
    view.refuse = true;
    std::string caption;
    EXPECT_FALSE(doc.AddShot(QImage(100, 80, QImage::Format_RGB888), caption, 5, 9));
    EXPECT_EQ(caption, "shot 0001 ( 5 - 9 )");
    ASSERT_EQ(doc.ShotCount(), 1);
    EXPECT_EQ(doc.Shots().At(0)->itemIndex, -1);

    // Without ports the view is a do-nothing one that refuses every shot.
    CPlayerDoc viewless(source.Factory(), DocumentPorts{});
    EXPECT_FALSE(viewless.AddShot(QImage(), caption, 0, 1));
    EXPECT_EQ(viewless.Shots().At(0)->itemIndex, -1);
}

TEST_F(Shots, DeletedShotsRangeGoesToTheShotAfterIt) {
    AddShots({{0, 99}, {100, 199}, {200, 299}});
    EXPECT_TRUE(doc.DeleteShot(1));
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 99}, {100, 299}}));
    EXPECT_EQ(view.Captions(),
              (std::vector<std::string>{"shot 0001 ( 0 - 99 )", "shot 0002 ( 100 - 299 )"}));
    EXPECT_EQ(doc.Shots().At(1)->itemIndex, 1);
    EXPECT_EQ(doc.Shots().At(1)->imageIndex, 1);
    EXPECT_EQ(frame.shotCountPane, 2);

    // The last shot gives its range to nobody.
    EXPECT_TRUE(doc.DeleteShot(1));
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 99}}));
    EXPECT_FALSE(doc.DeleteShot(7));
    EXPECT_TRUE(doc.DeleteShot(0));
    EXPECT_TRUE(doc.DeleteShot(0));  // empty list
}

// The chain of frame jobs, through a merge, which retakes the picture of the
// shot left: one job at a time, the retry bound, cancelling on close.
TEST_F(Shots, MergeRetakesThePictureThroughTheChain) {
    Open();
    AddShots({{0, 9}, {10, 49}, {60, 99}});
    doc.GetPlayer().Pause();
    Settle();
    graph->deliverOnSeek = 70;  // every seek brings another frame, of scene 1
    const int seeks = graph->seekCount;
    ASSERT_TRUE(doc.MergeShots({1, 2}));
    EXPECT_FALSE(doc.RefreshShotImage(0));
    EXPECT_FALSE(doc.MergeShots({0, 1}));
    Settle();
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(graph->seekCount - seeks, 1 + FrameJobChain::kMaxRetries);
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 9}, {10, 99}}));
    EXPECT_EQ(qRed(view.items.at(1).picture.pixel(40, 40)), 128 - test::SceneContrast(1));
    graph->deliverOnSeek.reset();
    ASSERT_TRUE(doc.RefreshShotImage(0));
    doc.CloseVideo();
    EXPECT_FALSE(doc.FrameChainRunning());
}

TEST_F(Shots, GoingToAShotPausesAndSeeks) {
    Open();
    AddShots({{10, 13}, {40, 80}});
    doc.GoToMiddle(0);
    Settle();
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 11);
    doc.GoToEnd(1);
    Settle();
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 80);

    ASSERT_EQ(doc.GetPlayer().State(), PlayerState::Running);
    doc.GoToShot(1, false);
    Settle();
    EXPECT_EQ(doc.GetPlayer().State(), PlayerState::Paused);
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 40);
    doc.GoToShot(0, true);
    Settle();
    EXPECT_EQ(doc.GetPlayer().State(), PlayerState::Running);
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 10);
    doc.GoToShot(5, true);  // no such item: nothing
    doc.GoToShot(-1, true);
    EXPECT_EQ(doc.GetPlayer().State(), PlayerState::Running);
}

TEST_F(Shots, TimecodeCaptionsNeedAVideo) {
    AddShots({{0, 100}});
    EXPECT_TRUE(doc.OnCommand(command::kViewTimecode));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], message::kLoadMovieFirst);
    EXPECT_EQ(view.Captions()[0], "shot 0001 ( 0 - 100 )");
    EXPECT_FALSE(doc.TimecodeMode());

    Open();  // 200 frames of 0.04 s
    doc.RecaptionAll();
    EXPECT_TRUE(doc.TimecodeMode());
    EXPECT_TRUE(frame.paneTimecode);
    EXPECT_EQ(view.Captions()[0], "00:00:00:0000 - 00:00:04:0000");
    doc.RecaptionAll();
    EXPECT_EQ(view.Captions()[0], "shot 0001 ( 0 - 100 )");
}

TEST_F(Shots, RefiningMovesTheStartToTheCurrentFrame) {
    Open();
    AddShots({{0, 99}, {100, 199}});
    doc.GetPlayer().Pause();

    doc.GetPlayer().SeekToFrame(150);
    Settle();
    doc.RefineShotStart(1);
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 149}, {150, 199}}));
    EXPECT_EQ(doc.Shots().At(1)->imageFrame, 100);  // refining leaves it
    EXPECT_EQ(view.replacements, 1);
    EXPECT_EQ(view.Captions()[0], "shot 0001 ( 0 - 149 )");
    EXPECT_EQ(view.Captions()[1], "shot 0002 ( 150 - 199 )");

    doc.GetPlayer().SeekToFrame(120);  // back into the shot before
    Settle();
    doc.RefineShotStart(1);
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 119}, {120, 199}}));
}

TEST_F(Shots, RefiningOutsideWhatTheShotsAllowChangesNothing) {
    Open();
    AddShots({{10, 99}, {100, 150}});
    doc.GetPlayer().Pause();
    const test::RangeList before{{10, 99}, {100, 150}};

    doc.GetPlayer().SeekToFrame(151);  // after the end
    Settle();
    doc.RefineShotStart(1);
    EXPECT_EQ(Ranges(), before);

    doc.GetPlayer().SeekToFrame(5);  // before the first shot
    Settle();
    doc.RefineShotStart(0);
    doc.RefineShotStart(1);  // before the start of the shot before
    EXPECT_EQ(Ranges(), before);

    doc.GetPlayer().SeekToFrame(10);  // would leave the shot before empty
    Settle();
    doc.RefineShotStart(1);
    EXPECT_EQ(Ranges(), before);
    EXPECT_EQ(view.replacements, 0);
}

}  // namespace
}  // namespace trevanto

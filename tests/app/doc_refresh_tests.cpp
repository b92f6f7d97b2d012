// Retaking a shot's picture through a frame request.
#include "document_fixture.h"
#include "video/player_messages.h"

namespace trevanto {
namespace {

using Refresh = test::DocumentTest;

TEST_F(Refresh, PictureIsRetakenAtTheShotsStart) {
    Open();
    AddShots({{0, 49}, {50, 119}});
    doc.RefreshShotImage(1);
    EXPECT_TRUE(doc.GetPlayer().FrameRequestPending());
    EXPECT_EQ(doc.GetPlayer().State(), PlayerState::Paused);
    const int presentedBefore = frame.presented;
    Settle();
    EXPECT_FALSE(doc.GetPlayer().FrameRequestPending());
    EXPECT_EQ(frame.presented, presentedBefore);  // a requested frame is not presented
    EXPECT_EQ(view.replacements, 1);
    EXPECT_EQ(qRed(view.items[1].picture.pixel(40, 40)), 128 - test::SceneContrast(1));
}

TEST_F(Refresh, AnotherFrameIsAskedAgainAtMostThreeTimes) {
    Open();
    AddShots({{0, 49}, {50, 119}});
    graph->deliverOnSeek = 10;  // whatever is sought, frame 10 comes
    doc.RefreshShotImage(1);
    Settle();
    EXPECT_FALSE(doc.GetPlayer().FrameRequestPending());
    EXPECT_EQ(view.replacements, 4);
    EXPECT_EQ(qRed(view.items[1].picture.pixel(40, 40)), 128 - test::SceneContrast(0));
}

TEST_F(Refresh, NeedsAVideoAndAShot) {
    doc.RefreshShotImage(0);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], message::kLoadMovieFirst);
    Open();
    doc.RefreshShotImage(3);
    EXPECT_FALSE(doc.GetPlayer().FrameRequestPending());
}

TEST_F(Refresh, OtherRequestKindsGoToTheirHandlers) {
    Open();
    std::vector<FrameRequest> handled;
    doc.SetFrameRequestHandler(
        FrameRequestKind::JpegExport,
        [&handled](const FrameRequest& request) { handled.push_back(request); });
    FrameRequest request;
    request.kind = FrameRequestKind::JpegExport;
    request.item = 2;
    ASSERT_TRUE(doc.GetPlayer().RequestFrame(request, 30));
    Settle();
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0].item, 2);
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 30);
}

}  // namespace
}  // namespace trevanto

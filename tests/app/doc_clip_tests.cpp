// Slicing the generated clips through the real media engine.
#include <cctype>

#include "clip_session.h"
#include "support/frame_code.h"

namespace trevanto {
namespace {

using test::ClipSession;
using test::ExpectedShots;
using test::TestClip;

class EngineOnClip : public ::testing::TestWithParam<TestClip> {};

TEST_P(EngineOnClip, FindsExactlyTheCutsAndCoversEveryFrame) {
    const TestClip& clip = GetParam();
    ClipSession session;
    ASSERT_TRUE(session.Open(clip));
    ASSERT_EQ(session.doc.GetPlayer().FrameCount(), clip.frameCount);
    session.doc.GetPlayer().SeekToFrame(0);
    session.doc.StartEngine();  // threshold 15
    ASSERT_TRUE(session.RunUntilSlicingEnds());
    const auto ranges = session.Ranges();
    EXPECT_EQ(ranges, ExpectedShots(clip.cuts, 0, clip.frameCount - 1));
    // Contiguous from the first frame to the last.
    ASSERT_FALSE(ranges.empty());
    EXPECT_EQ(ranges.front().first, 0);
    EXPECT_EQ(ranges.back().second, clip.frameCount - 1);
    for (size_t i = 1; i < ranges.size(); ++i) {
        EXPECT_EQ(ranges[i].first, ranges[i - 1].second + 1);
    }
    EXPECT_EQ(session.view.items.size(), ranges.size());
    EXPECT_TRUE(session.user.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Clips, EngineOnClip, ::testing::ValuesIn(test::TestClips()),
                         [](const ::testing::TestParamInfo<TestClip>& clipInfo) {
                             std::string name = clipInfo.param.file;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

const TestClip& Mpeg2Clip() {
    return *test::FindTestClip("clip_mpeg2.mpg");
}

TEST(ShotPictureOnClip, GoingToAShotShowsItsFirstFrame) {
    ClipSession session;
    ASSERT_TRUE(session.Open(Mpeg2Clip()));
    session.doc.GetPlayer().SeekToFrame(0);
    session.doc.StartEngine();
    ASSERT_TRUE(session.RunUntilSlicingEnds());
    ASSERT_GE(session.doc.ShotCount(), 3);

    session.doc.GoToShot(2, false);
    ASSERT_TRUE(session.RunUntil([&] { return !session.doc.GetPlayer().SeekIssued(); }));
    ASSERT_NE(session.doc.GetPlayer().FrameSurface(), nullptr);
    EXPECT_EQ(test::ReadFrameCode(*session.doc.GetPlayer().FrameSurface()), 70);
    EXPECT_EQ(session.doc.GetPlayer().CurrentFrame(), 70);

    const int before = session.view.replacements;
    session.doc.RefreshShotImage(1);
    ASSERT_TRUE(session.RunUntil([&] { return !session.doc.FrameChainRunning(); }));
    EXPECT_EQ(session.view.replacements, before + 1);
    EXPECT_EQ(test::ReadFrameCode(*session.doc.GetPlayer().FrameSurface()), 30);
}

}  // namespace
}  // namespace trevanto

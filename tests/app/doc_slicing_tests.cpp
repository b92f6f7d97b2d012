// Slicing runs through the document on a fake graph of synthetic scenes:
// commands, the end of the video and of the play range, thumbnails.
#include "app/command_ids.h"
#include "document_fixture.h"
#include "video/player_messages.h"

namespace trevanto {
namespace {

using Slicing = test::DocumentTest;

TEST_F(Slicing, EngineFindsTheScenesAndCoversEveryFrame) {
    Open();
    doc.GetPlayer().Pause();
    doc.GetPlayer().SeekToFrame(0);
    doc.OnCommand(command::kEngine);
    EXPECT_TRUE(doc.IsSlicing());
    EXPECT_TRUE(frame.Checked(command::kEngine));
    EXPECT_FALSE(frame.Checked(command::kSampler));
    EXPECT_EQ(doc.GetPlayer().State(), PlayerState::Running);
    Settle();  // frame 0 starts the run
    Deliver(1, 199);
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 49}, {50, 119}}));
    EndOfStream();
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 49}, {50, 119}, {120, 199}}));
    EXPECT_FALSE(doc.IsSlicing());
    EXPECT_FALSE(frame.Checked(command::kEngine));
    EXPECT_EQ(frame.shotCountPane, 3);
    EXPECT_EQ(graph->PositionFrame(), 0);  // rewound
    // Each thumbnail is the first frame of its shot.
    ASSERT_EQ(view.items.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const int contrast = test::SceneContrast(static_cast<int>(i));
        EXPECT_EQ(qRed(view.items[i].picture.pixel(40, 40)), 128 - contrast) << i;
        EXPECT_EQ(qRed(view.items[i].picture.pixel(41, 40)), 128 + contrast) << i;
    }
}

TEST_F(Slicing, SamplerEveryFortyFramesClosesTheLastShotAtTheEnd) {
    Open();
    doc.GetPlayer().Pause();
    doc.GetPlayer().SeekToFrame(0);
    doc.OnCommand(command::kSampler);
    EXPECT_TRUE(frame.Checked(command::kSampler));
    Settle();
    Deliver(1, 109);
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 39}, {40, 79}}));
    EXPECT_EQ(view.Captions()[1], "shot 0002 ( 40 - 79 )");
    // The stream ends early (frames 110 on never come): the last shot runs
    // from the last cut up to the last delivered frame.
    EndOfStream();
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 39}, {40, 79}, {80, 109}}));
}

TEST_F(Slicing, PlayRangeSlicesOnlyBetweenTheMarks) {
    Open();
    ASSERT_TRUE(doc.GetPlayer().SetPlayRange(30, 100));
    doc.GetPlayer().Pause();
    Settle();
    doc.OnCommand(command::kEngine);  // Play starts at the start mark
    EXPECT_EQ(graph->PositionFrame(), 30);
    Settle();
    Deliver(31, 101);
    EXPECT_EQ(Ranges(), (test::RangeList{{30, 49}, {50, 100}}));
    EXPECT_FALSE(doc.IsSlicing());
    EXPECT_EQ(graph->PositionFrame(), 30);  // looping back to the start mark
    Deliver(31, 101);                       // the next pass slices nothing
    EXPECT_EQ(doc.ShotCount(), 2);
}

TEST_F(Slicing, StopDropsTheShotInProgress) {
    Open();
    doc.GetPlayer().Pause();
    doc.GetPlayer().SeekToFrame(0);
    doc.StartSampler();
    Settle();
    Deliver(1, 60);
    doc.OnCommand(command::kStop);
    EXPECT_FALSE(doc.IsSlicing());
    EXPECT_EQ(Ranges(), (test::RangeList{{0, 39}}));
    Settle();
    EndOfStream();
    EXPECT_EQ(doc.ShotCount(), 1);
}

TEST_F(Slicing, ToggleCommandsStopARun) {
    Open();
    doc.OnCommand(command::kSampler);
    EXPECT_TRUE(doc.IsSlicing());
    doc.OnCommand(command::kSampler);
    EXPECT_FALSE(doc.IsSlicing());
    doc.OnCommand(command::kShotsStartEngine);
    EXPECT_TRUE(doc.IsSlicing());
    EXPECT_EQ(doc.GetSlicingMode(), SlicingMode::Engine);
    doc.OnCommand(command::kEngine);
    EXPECT_FALSE(doc.IsSlicing());
    EXPECT_FALSE(frame.Checked(command::kEngine));
}

TEST_F(Slicing, StartingWithoutVideoTellsTheUser) {
    frame.buttons[command::kEngine] = true;
    frame.buttons[command::kSampler] = true;
    doc.OnCommand(command::kEngine);
    doc.OnCommand(command::kSampler);
    doc.OnCommand(command::kInsertShot);
    ASSERT_EQ(user.messages.size(), 3u);
    for (const auto& text : user.messages)
        EXPECT_EQ(text, message::kLoadMovieFirst);
    EXPECT_FALSE(frame.Checked(command::kEngine));
    EXPECT_FALSE(frame.Checked(command::kSampler));
    EXPECT_FALSE(doc.IsSlicing());
}

TEST_F(Slicing, StreamWithoutLengthCannotBeSliced) {
    source.frames = 0;
    Open();
    doc.OnCommand(command::kEngine);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], message::kNotSeekable);
    EXPECT_FALSE(doc.IsSlicing());
}

TEST_F(Slicing, InsertedShotCoversTheCurrentFrameOnly) {
    Open();
    doc.GetPlayer().Pause();
    doc.GetPlayer().SeekToFrame(77);
    Settle();
    doc.OnCommand(command::kShotsAddManually);
    EXPECT_EQ(Ranges(), (test::RangeList{{77, 77}}));
    const QImage& picture = view.items.at(0).picture;
    EXPECT_EQ(qRed(picture.pixel(40, 40)), 128 - test::SceneContrast(1));
}

TEST_F(Slicing, HiddenPreviewPassesNothingToTheRun) {
    Open();
    frame.previewVisible = false;
    doc.GetPlayer().Pause();
    doc.GetPlayer().SeekToFrame(0);
    doc.StartSampler();
    Settle();
    Deliver(1, 100);
    EXPECT_EQ(doc.ShotCount(), 0);
}

TEST_F(Slicing, FramesShowInThePanesAndSlider) {
    Open();
    Deliver(100, 100);
    EXPECT_EQ(frame.paneFrame, 100);
    EXPECT_EQ(frame.paneCount, 200);
    EXPECT_EQ(frame.slider, 100 * 32767 / 200);
    EXPECT_EQ(frame.title, "synthetic.mpg");
    doc.CloseVideo();
    doc.RepaintPreview();
    EXPECT_EQ(frame.blankPresents, 1);
}

}  // namespace
}  // namespace trevanto

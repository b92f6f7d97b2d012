// The document on a fake graph of synthetic scenes (cuts at 50 and 120 of
// 200 frames, each 100 x 80 as the thumbnail surface takes it): slicing
// runs, the shot list operations and the chain of frame jobs.
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "app/commands/command_ids.h"
#include "app/messages/document_messages.h"
#include "document_fixture.h"
#include "shots/synthetic_frames.h"
#include "video/fake_media_graph.h"

namespace trevanto {
namespace {

using test::FakeGraphSource;
using test::FakeMediaGraph;
using test::RangeList;

class FakeGraph : public ::testing::Test {
  protected:
    FakeGraph() {
        source.frames = 200;
        source.width = kThumbnailWidth;
        source.height = kThumbnailHeight;
        source.prepare = [](FakeMediaGraph& graph) {
            graph.painter = [](Surface& surface, int frame) {
                test::PaintStripes(surface, test::SceneContrast((frame >= 50) + (frame >= 120)));
            };
        };
        // A fake graph has no file for segment workers: its runs play.
        doc.Slicing().SetRealTimeSlicing(true);
    }
    // Opens the video; paused with frame `at` sought (and shown if `settle`).
    void Open(int at = -1, bool settle = true) {
        ASSERT_TRUE(doc.OpenVideo("/videos/synthetic.mpg"));
        graph = source.opened;
        doc.HandleGraphEvents();
        if (at >= 0) {
            doc.Playback().Pause();
            doc.Playback().SeekToFrame(at);
            if (settle)
                doc.HandleGraphEvents();
        }
    }
    void Deliver(int first, int last) {
        for (int frame = first; frame <= last; ++frame) {
            graph->DeliverFrame(frame);
            doc.HandleGraphEvents();
        }
    }
    void EndOfStream() {
        graph->DeliverEvent(GraphEventCode::Complete);
        doc.HandleGraphEvents();
    }
    void AddShots(const RangeList& ranges) {
        for (const auto& [start, end] : ranges) {
            std::string caption;
            ASSERT_TRUE(doc.AddShot(QImage(100, 80, QImage::Format_RGB888), caption, start, end));
        }
    }
    std::string LastMessage() const {
        return s.user.messages.empty() ? std::string() : s.user.messages.back();
    }
    int RedAt(size_t item, int x) const { return qRed(s.view.items.at(item).picture.pixel(x, 40)); }

    FakeGraphSource source;
    test::Session s{source.Factory(), 320, 240};
    CPlayerDoc& doc = s.doc;
    FakeMediaGraph* graph = nullptr;
};

TEST_F(FakeGraph, EngineFindsTheScenesAndEachThumbnailIsTheShotsFirstFrame) {
    Open(0, false);
    doc.Slicing().OnEngineCommand();
    EXPECT_TRUE(s.frame.Checked(command::kEngine));
    doc.HandleGraphEvents();  // frame 0 starts the run
    Deliver(1, 199);
    EndOfStream();
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 49}, {50, 119}, {120, 199}}));
    EXPECT_FALSE(doc.Slicing().IsRunning() || s.frame.Checked(command::kEngine));
    EXPECT_EQ(graph->PositionFrame(), 0);  // rewound
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(RedAt(i, 40), 128 - test::SceneContrast(static_cast<int>(i))) << i;
        EXPECT_EQ(RedAt(i, 41), 128 + test::SceneContrast(static_cast<int>(i))) << i;
    }
}

TEST_F(FakeGraph, SamplerClosesTheLastShotAtAnEarlyEndAndStopDropsTheShotInProgress) {
    Open(0, false);
    doc.Slicing().OnSamplerCommand();  // every 40 frames
    doc.HandleGraphEvents();
    Deliver(1, 109);  // frames 110 on never come
    EndOfStream();
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 39}, {40, 79}, {80, 109}}));

    doc.Editing().ClearShots();
    doc.Playback().Pause();
    doc.Playback().SeekToFrame(0);
    doc.Slicing().StartSampler();
    doc.HandleGraphEvents();
    Deliver(1, 60);
    doc.Playback().Stop();
    EndOfStream();
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 39}}));
}

TEST_F(FakeGraph, WhatARunNeedsAndWhatItIsGiven) {
    s.frame.buttons = {{command::kEngine, true}, {command::kSampler, true}};
    doc.Slicing().OnEngineCommand();
    doc.Slicing().OnSamplerCommand();
    doc.Editing().InsertShot();
    doc.RecaptionAll();
    EXPECT_EQ(s.user.messages, std::vector<std::string>(4, message::kLoadMovieFirst));
    EXPECT_FALSE(doc.Slicing().IsRunning() || doc.TimecodeMode() ||
                 s.frame.Checked(command::kEngine) || s.frame.Checked(command::kSampler));

    Open(77);
    doc.Editing().InsertShot();  // the current frame only
    EXPECT_EQ(s.Ranges(), (RangeList{{77, 77}}));
    EXPECT_EQ(RedAt(0, 40), 128 - test::SceneContrast(1));
    // A hidden preview passes nothing to the run.
    s.frame.previewVisible = false;
    doc.Playback().SeekToFrame(0);
    doc.Slicing().StartSampler();
    doc.HandleGraphEvents();
    Deliver(1, 100);
    EXPECT_EQ(doc.ShotCount(), 1);
    doc.Slicing().StopSlicing();
    const int blanks = s.frame.blankPresents;
    doc.CloseVideo();
    doc.RepaintPreview();
    EXPECT_EQ(s.frame.blankPresents, blanks + 1);

    source.frames = 0;  // a stream without length cannot be sliced
    Open();
    doc.Slicing().OnSamplerCommand();
    doc.Slicing().OnEngineCommand();
    EXPECT_EQ(s.user.messages.end()[-2] + s.user.messages.back(),
              std::string(message::kNotSeekable) + message::kNotSeekable);
    EXPECT_FALSE(doc.Slicing().IsRunning());
}

TEST_F(FakeGraph, TransportCommandsReachThePlayer) {
    const Player& player = doc.GetPlayer();
    doc.Playback().Play();  // no video: asks for one
    doc.Playback().SetMark(MarkSide::End, false);
    EXPECT_EQ(s.user.messages, std::vector<std::string>{message::kLoadMovieFirst});
    Open(60);
    doc.Playback().SetMark(MarkSide::End, false);
    doc.Playback().SeekToFrame(90);
    doc.HandleGraphEvents();
    doc.Playback().SetMark(MarkSide::Start, false);  // after the end: the old end becomes the start
    EXPECT_EQ(std::pair(player.RangeStart(), player.RangeEnd()), std::pair(60, 90));
    doc.Playback().SetMark(MarkSide::Start, true);
    EXPECT_EQ(std::pair(player.RangeStart(), player.RangeEnd()), std::pair(-1, 90));
    doc.Playback().SetRate(0.5f);
    EXPECT_EQ(player.RequestedRate(), 0.5f);
    const struct {
        const char* command;
        void (DocumentPlayback::*run)();
        PlayerState state;
    } rows[] = {{"Play", &DocumentPlayback::Play, PlayerState::Running},
                {"TogglePlayPause", &DocumentPlayback::TogglePlayPause, PlayerState::Paused},
                {"Stop", &DocumentPlayback::Stop, PlayerState::Stopped},
                {"Pause", &DocumentPlayback::Pause, PlayerState::Paused}};
    for (const auto& row : rows) {
        (doc.Playback().*row.run)();
        EXPECT_EQ(player.State(), row.state) << row.command;
    }
    doc.Slicing().OnShotsMenuEngine();
    doc.Slicing().OnSamplerCommand();  // another run command stops the run
    EXPECT_FALSE(doc.Slicing().IsRunning());
}

TEST_F(FakeGraph, CaptionsRefusedShotsAndRefining) {
    Open();
    AddShots({{10, 99}, {100, 150}});
    doc.RecaptionAll();  // 200 frames of 0.04 s
    EXPECT_EQ(s.view.items[0].caption, "00:00:00:0400 - 00:00:03:0960");
    doc.RecaptionAll();
    EXPECT_EQ(s.view.items[0].caption, "shot 0001 ( 10 - 99 )");

    // The start moves to the current frame, unless the shots forbid it.
    const struct {
        int32_t at, item;
        RangeList ranges;
    } rows[] = {{151, 1, {{10, 99}, {100, 150}}},  {5, 0, {{10, 99}, {100, 150}}},
                {5, 1, {{10, 99}, {100, 150}}},    {10, 1, {{10, 99}, {100, 150}}},
                {120, 1, {{10, 119}, {120, 150}}}, {60, 1, {{10, 59}, {60, 150}}},
                {150, 1, {{10, 149}, {150, 150}}}};  // down to the shot's last frame
    for (const auto& row : rows) {
        doc.Playback().SeekToFrame(row.at);
        doc.HandleGraphEvents();
        doc.Editing().RefineShotStart(row.item);
        EXPECT_EQ(s.Ranges(), row.ranges) << row.at;
    }
    EXPECT_EQ(s.view.replacements, 3);
    EXPECT_EQ(s.view.items[0].caption, "shot 0001 ( 10 - 149 )");
    doc.GoToEnd(0);
    doc.HandleGraphEvents();
    EXPECT_EQ(doc.GetPlayer().CurrentFrame(), 149);
    EXPECT_FALSE(doc.Editing().DeleteShot(42));

    s.view.refuse = true;  // a refused shot stays without view indexes
    std::string caption;
    EXPECT_FALSE(doc.AddShot(QImage(100, 80, QImage::Format_RGB888), caption, 170, 199));
    EXPECT_EQ(caption, "shot 0003 ( 170 - 199 )");
    EXPECT_EQ(doc.Shots().At(2)->itemIndex, -1);
    CPlayerDoc viewless(source.Factory(), DocumentPorts{});  // a do-nothing view refuses
    EXPECT_FALSE(viewless.AddShot(QImage(), caption, 0, 1));
    viewless.Slicing().OnEngineCommand();  // no video: said to nobody
}

// A merge retakes the picture of the shot left through the chain: one job
// at a time, the retry bound, cancelling on close.
TEST_F(FakeGraph, MergeRetakesThePictureThroughTheChain) {
    Open();
    AddShots({{0, 9}, {10, 49}, {60, 99}});
    doc.Playback().Pause();
    doc.HandleGraphEvents();
    graph->deliverOnSeek = 70;  // every seek brings another frame, of scene 1
    const int seeks = graph->seekCount;
    ASSERT_TRUE(doc.Editing().MergeShots({1, 2}));
    EXPECT_FALSE(doc.Editing().RefreshShotImage(0));
    EXPECT_FALSE(doc.Editing().MergeShots({0, 1}));
    doc.HandleGraphEvents();
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(graph->seekCount - seeks, 1 + FrameJobChain::kMaxRetries);
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 9}, {10, 99}}));
    EXPECT_EQ(RedAt(1, 40), 128 - test::SceneContrast(1));
    graph->deliverOnSeek.reset();
    ASSERT_TRUE(doc.Editing().RefreshShotImage(0));
    doc.CloseVideo();
    EXPECT_FALSE(doc.FrameChainRunning());
}

// A frame that cannot be reached ends its item with a word in the report,
// whatever keeps it away: a shot past the end, a seek that finds no frame,
// a frame that never comes. No job waits for ever.
TEST_F(FakeGraph, AnItemWhoseFrameCannotBeReachedIsPassedOverAndTheJobGoesOn) {
    const test::TempFolder folder;
    Open();
    AddShots({{0, 49}, {230, 240}, {120, 199}});  // the video has 200 frames
    PublishOptions options;
    options.targetFile = folder.Path();
    doc.SetPublishOptions(options);
    ASSERT_TRUE(doc.JpegExport().ExtractAsJpeg({0, 1, 2}));
    doc.HandleGraphEvents();
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(LastMessage(),
              "2 JPEG images have been saved to disk.\n1 shot was left out: its first frame "
              "cannot be reached in the video.");
    // Its number is used up: the images keep the shots' places.
    EXPECT_TRUE(std::filesystem::exists(folder.File("image0003.jpg")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("image0002.jpg")));

    graph->seekAnswer = FakeMediaGraph::SeekAnswer::Missed;
    ASSERT_TRUE(doc.Editing().RefreshShotImage(0));
    doc.HandleGraphEvents();
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(LastMessage(),
              "The picture of the shot cannot be taken again: its first frame cannot be reached "
              "in the video.");

    graph->seekAnswer = FakeMediaGraph::SeekAnswer::Nothing;
    ASSERT_TRUE(doc.JpegExport().ExtractAsJpeg({0, 2}));
    const auto later = FrameJobChain::Clock::now() + 2 * FrameJobChain::kFrameWaitLimit;
    doc.CheckFrameWait(FrameJobChain::Clock::now());
    EXPECT_TRUE(doc.FrameChainRunning());  // not yet given up
    // Publishing waits for the frame job: refused, in both of its ways.
    EXPECT_FALSE(doc.Publishing().Publish());
    EXPECT_FALSE(doc.Publishing().PublishThroughWizard());
    doc.CheckFrameWait(later);
    EXPECT_TRUE(doc.FrameChainRunning());  // the next item waits in its turn
    doc.CheckFrameWait(later);
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(LastMessage(),
              "0 JPEG images have been saved to disk.\n2 shots were left out: their first frames "
              "cannot be reached in the video.");
}

// Opening another video while work on this one's frames runs asks first;
// a No lets the work go on, a Yes stops it and says what was left undone.
TEST_F(FakeGraph, OpeningAnotherVideoAsksFirstAndTellsWhatTheStoppedWorkLeft) {
    const test::TempFolder folder;
    const std::string shotsFile = folder.File("five.hpv");
    std::ofstream(shotsFile) << "Trevanto (c) 2004 Qelvar\n\n/videos/synthetic.mpg\n"
                                "shot 1=0,0,9 shot 2=10,10,19 shot 3=20,20,29 shot 4=30,30,39 "
                                "shot 5=40,40,49\n";
    Open();
    AddShots({{0, 49}, {50, 119}, {120, 199}, {10, 20}, {30, 40}});
    PublishOptions options;
    options.targetFile = folder.File("pub/index.html");
    // Two items done, then another video is opened with the answer given.
    const auto twoItemsThenOpen = [&](bool yes, const std::string& video) {
        doc.HandleNextGraphEvent();
        doc.HandleNextGraphEvent();
        s.user.yes = yes;
        const bool opened =
            video.ends_with(".hpv") ? doc.ShotsFile().LoadShotsFile(video) : doc.OpenVideo(video);
        graph = source.opened;
        return opened;
    };
    const std::vector<int32_t> all{0, 1, 2, 3, 4};
    ASSERT_TRUE(doc.JpegExport().ExtractAsJpeg(all, folder.Path()));
    EXPECT_FALSE(twoItemsThenOpen(false, "/videos/other.mpg"));
    EXPECT_TRUE(doc.FrameChainRunning());
    EXPECT_EQ(doc.GetPlayer().OpenedPath(), "/videos/synthetic.mpg");
    EXPECT_TRUE(twoItemsThenOpen(true, "/videos/other.mpg"));
    EXPECT_FALSE(doc.FrameChainRunning());
    EXPECT_EQ(doc.GetPlayer().OpenedPath(), "/videos/other.mpg");
    EXPECT_EQ(LastMessage(),
              "Saving the JPEG images was stopped: 4 of 5 images were saved; the other one was "
              "not written.");

    Open();
    doc.SetPublishOptions(options);  // opening a video reset them
    ASSERT_TRUE(doc.Publishing().Publish());
    EXPECT_FALSE(twoItemsThenOpen(false, shotsFile));
    EXPECT_TRUE(twoItemsThenOpen(true, "/videos/other.mpg"));
    EXPECT_EQ(LastMessage(),
              "Publishing to the web was stopped: 4 of 5 images were written and no page was "
              "made.");
    EXPECT_FALSE(std::filesystem::exists(folder.File("pub/index.html")));

    ASSERT_TRUE(doc.ShotsFile().LoadShotsFile(shotsFile));
    graph = source.opened;
    EXPECT_TRUE(twoItemsThenOpen(true, "/videos/other.mpg"));
    EXPECT_EQ(LastMessage(),
              "Loading the shots file was stopped: 2 of 5 shots were rebuilt; the other 3 were "
              "not added.");
    EXPECT_FALSE(s.view.locked);
    EXPECT_EQ(s.user.questions,
              (std::vector<std::string>{"Stop saving the JPEG images and open other.mpg?",
                                        "Stop saving the JPEG images and open other.mpg?",
                                        "Stop publishing to the web and open five.hpv?",
                                        "Stop publishing to the web and open other.mpg?",
                                        "Stop loading the shots file and open other.mpg?"}));
}

// Every edit of the shots is one step that Undo takes back and Redo makes
// again exactly, pictures and all, without seeking a frame; the saved state
// follows the stack.
TEST_F(FakeGraph, EveryShotEditIsUndoneAndRedoneExactly) {
    const test::TempFolder folder;
    const std::string shotsFile = folder.File("two.hpv");
    std::ofstream(shotsFile) << "Trevanto (c) 2004 Qelvar\n\n/videos/synthetic.mpg\n"
                                "shot 1=0,0,9 shot 2=10,10,19\n";
    using Kept = std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, std::string, QImage>>;
    const auto keep = [&] {
        Kept kept;
        for (const auto& shot : doc.Shots())
            kept.emplace_back(shot->number, shot->startFrame, shot->imageFrame, shot->endFrame,
                              shot->caption, s.view.Thumbnail(shot->imageIndex));
        return kept;
    };
    const auto seek = [&](int32_t frame) {
        doc.Playback().SeekToFrame(frame);
        doc.HandleGraphEvents();
    };
    const auto slice = [&] {
        seek(0);
        doc.Slicing().StartEngine();
        Deliver(1, 199);
        EndOfStream();
        return true;
    };
    Open();
    slice();
    ASSERT_EQ(s.Ranges(), (RangeList{{0, 49}, {50, 119}, {120, 199}}));
    EXPECT_EQ(doc.Editing().UndoName(), "Slicing run");
    doc.Editing().SetShotsModified(false);  // as if saved

    const struct {
        const char* name;
        std::function<bool()> edit;
    } rows[] = {
        {"Insert shot", [&] { return seek(80), doc.Editing().InsertShot(), true; }},
        {"Delete shot", [&] { return doc.Editing().DeleteShot(1); }},
        {"Delete 2 shots",
         [&] {
             return doc.Editing().DeleteShots({0, 2});
         }},
        {"Merge 2 shots",
         [&] {
             return doc.Editing().MergeShots({0, 1});
         }},
        {"Refine image", [&] { return seek(60), doc.Editing().RefineShotStart(1), true; }},
        {"Delete shots", [&] { return doc.Editing().ClearShots(), true; }},
        {"Split shot", [&] { return seek(100), doc.Editing().SplitShotHere(); }},
        {"Re-cut shots", [&] { return doc.Editing().RecutShots(1e9f, false); }},
        {"Slicing run", slice},
        {"Load shots", [&] { return doc.ShotsFile().LoadShotsFile(shotsFile); }},
        {"Refresh",
         [&] {
             graph->painter = [](Surface& surface, int) {
                 test::PaintStripes(surface, test::SceneContrast(2));
             };
             return doc.Editing().RefreshShotImage(0);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Kept before = keep();
        ASSERT_TRUE(row.edit());
        graph = source.opened;
        doc.HandleGraphEvents();
        ASSERT_FALSE(doc.FrameChainRunning());
        const Kept after = keep();
        EXPECT_NE(after, before);
        EXPECT_EQ(doc.Editing().UndoName(), row.name);
        EXPECT_TRUE(doc.Editing().ShotsModified());
        const int seeks = graph->seekCount;
        ASSERT_TRUE(doc.Editing().Undo());
        EXPECT_EQ(keep(), before);
        EXPECT_EQ(doc.Editing().RedoName(), row.name);
        EXPECT_FALSE(doc.Editing().ShotsModified());  // back to the shots saved
        ASSERT_TRUE(doc.Editing().Redo());
        EXPECT_EQ(keep(), after);
        ASSERT_TRUE(doc.Editing().Undo());
        EXPECT_EQ(graph->seekCount, seeks);
        EXPECT_EQ(static_cast<int32_t>(s.view.items.size()), doc.ShotCount());
    }

    // Several edits go back one at a time; a new edit drops those undone.
    const Kept saved = keep();
    ASSERT_TRUE(doc.Editing().DeleteShot(0));
    const Kept deleted = keep();
    seek(150);
    ASSERT_TRUE(doc.Editing().SplitShotHere());
    ASSERT_TRUE(doc.Editing().Undo());
    EXPECT_EQ(keep(), deleted);
    ASSERT_TRUE(doc.Editing().Undo());
    EXPECT_EQ(keep(), saved);
    ASSERT_TRUE(doc.Editing().Undo());  // the first run
    EXPECT_TRUE(doc.Shots().IsEmpty() && doc.Editing().ShotsModified());
    EXPECT_FALSE(doc.Editing().Undo());
    ASSERT_TRUE(doc.Editing().Redo() && doc.Editing().Redo());
    EXPECT_EQ(keep(), deleted);
    seek(20);
    doc.Editing().InsertShot();
    EXPECT_EQ(doc.Editing().RedoName(), "");

    // Refused while a frame job or a run is changing the shots.
    ASSERT_TRUE(doc.Editing().RefreshShotImage(0));
    EXPECT_FALSE(doc.Editing().Undo());
    doc.HandleGraphEvents();
    doc.Slicing().StartEngine();
    EXPECT_FALSE(doc.Editing().Undo() || doc.Editing().Redo());
    doc.Slicing().StopSlicing();
    EXPECT_TRUE(doc.Editing().Undo());
}

// While a run or a frame job adds shots, each edit is refused and changes
// nothing: undoing it would drop the shots still coming. A shot inserted by
// hand during a run joins the run's step.
TEST_F(FakeGraph, ShotEditsAreRefusedDuringRunsAndFrameJobs) {
    Open(100);
    AddShots({{0, 49}, {50, 119}, {120, 199}});
    const struct {
        const char* name;
        std::function<bool()> edit;
    } edits[] = {
        {"Delete shot", [&] { return doc.Editing().DeleteShot(1); }},
        {"Delete shots",
         [&] {
             return doc.Editing().DeleteShots({0, 1});
         }},
        {"Merge",
         [&] {
             return doc.Editing().MergeShots({0, 1});
         }},
        {"Refine image",
         [&] { return doc.Editing().RefineShotStart(1), s.Ranges()[1].first != 50; }},
        {"Split shot", [&] { return doc.Editing().SplitShotHere(); }},
        {"Refresh", [&] { return doc.Editing().RefreshShotImage(2); }},
        {"Clear", [&] { return doc.Editing().ClearShots(), doc.ShotCount() != 3; }},
    };
    const auto refuseEach = [&](const char* during) {
        const std::string undo = doc.Editing().UndoName();
        for (const auto& row : edits) {
            EXPECT_FALSE(row.edit()) << row.name << " during " << during;
            EXPECT_EQ(s.Ranges(), (RangeList{{0, 49}, {50, 119}, {120, 199}})) << row.name;
            EXPECT_EQ(doc.Editing().UndoName(), undo) << row.name << " during " << during;
        }
    };
    const auto insert = [&] { return doc.Editing().InsertShot(), doc.ShotCount() != 3; };
    ASSERT_TRUE(doc.Editing().RefreshShotImage(0));
    refuseEach("a frame job");
    EXPECT_FALSE(insert()) << "Insert shot during a frame job";
    doc.HandleGraphEvents();
    ASSERT_FALSE(doc.FrameChainRunning());
    doc.Slicing().StartEngine();
    refuseEach("a run");
    const std::string undo = doc.Editing().UndoName();
    ASSERT_TRUE(insert());
    EXPECT_EQ(doc.Editing().UndoName(), undo);
    doc.Slicing().StopSlicing();
    EXPECT_EQ(doc.Editing().UndoName(), "Slicing run");
    ASSERT_TRUE(doc.Editing().Undo());
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 49}, {50, 119}, {120, 199}}));
}

}  // namespace
}  // namespace trevanto

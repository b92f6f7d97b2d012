// The document on a generated clip through the real media engine: JPEG
// export and publishing read back with libjpeg, shots files, going to shots.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "document_fixture.h"
#include "export/jpeg_decode.h"
#include "support/frame_code.h"

namespace trevanto {
namespace {

using test::RangeList;
using test::Session;

const test::TestClip& Mpeg1() {
    return *test::FindTestClip("clip_mpeg1.mpg");  // 320 x 240, 200 frames, 5 shots
}
const test::TestClip& Mpeg2() {
    return *test::FindTestClip("clip_mpeg2.mpg");  // 720 x 576, 150 frames, 4 shots
}
// The frame number drawn into a picture; -1 when unreadable.
int FrameCodeOf(const QImage& picture) {
    Surface surface(picture.width(), picture.height());
    return surface.CopyFromImage(picture) ? test::ReadFrameCode(surface) : -1;
}
// Largest difference of any channel of two pictures; 256 when the sizes differ.
int MaxDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    int most = x.size() == y.size() && !x.isNull() ? 0 : 256;
    for (int row = 0; most < 256 && row < x.height(); ++row) {
        for (int i = 0; i < x.width() * 3; ++i)
            most = std::max(most, std::abs(x.constScanLine(row)[i] - y.constScanLine(row)[i]));
    }
    return most;
}
const std::vector<int32_t> kAllShots{0, 1, 2, 3, 4};

// A sliced clip saved as a shots file and loaded again (the thumbnails
// rebuilt from the video), then exported as JPEG images and published.
TEST(DocumentOnClip, ShotsFileRoundTripJpegExportAndPublishing) {
    const test::TempFolder folder;
    const std::string file = folder.File("clip.hpv");
    Session s;
    ASSERT_TRUE(s.OpenAndSlice(Mpeg1()));
    s.user.answer = file;
    ASSERT_TRUE(s.doc.ShotsFile().SaveShots());
    EXPECT_FALSE(s.doc.Editing().ShotsModified());

    Session loaded;
    loaded.user.answer = file;
    loaded.doc.ShotsFile().LoadShots();  // opens the clip named in the file
    EXPECT_TRUE(loaded.view.locked);
    ASSERT_TRUE(loaded.RunChain());
    EXPECT_EQ(loaded.Ranges(), s.Ranges());
    EXPECT_EQ(loaded.user.messages,
              std::vector<std::string>{"5 shots extracted from the shots file."});
    EXPECT_FALSE(loaded.doc.Editing().ShotsModified() || loaded.view.locked);
    EXPECT_EQ(loaded.user.progress,
              (std::vector<std::string>{"Loading", "end", "Extracting", "end"}));
    ASSERT_EQ(loaded.view.items.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(loaded.view.items[i].caption, s.view.items[i].caption);
        // The same frame decoded again gives the same thumbnail.
        EXPECT_LE(MaxDifference(loaded.view.items[i].picture, s.view.items[i].picture), 2);
    }

    // A refresh retakes the picture of the shot's first frame.
    ASSERT_TRUE(loaded.doc.Editing().RefreshShotImage(1));
    ASSERT_TRUE(loaded.RunChain());
    EXPECT_EQ(loaded.view.replacements, 1);
    EXPECT_EQ(test::ReadFrameCode(*loaded.doc.GetPlayer().FrameSurface()), 40);

    // Deleting the shots while they are rebuilt ends the rebuilding.
    loaded.doc.ShotsFile().LoadShots();
    ASSERT_TRUE(loaded.doc.ShotsFile().IsRebuilding());
    loaded.doc.Editing().ClearShots();
    ASSERT_TRUE(loaded.RunChain());
    EXPECT_FALSE(loaded.doc.ShotsFile().IsRebuilding() || loaded.view.locked);
    EXPECT_EQ(loaded.user.progress.back(), "end");

    // JPEG images of the sliced clip.
    PublishOptions options;
    options.targetFile = folder.File("out.html");
    options.stretchToFit = true;
    options.shotWidth = 320;
    options.shotHeight = 240;  // no template: the whole frame shows
    s.doc.SetPublishOptions(options);
    ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg(kAllShots));
    ASSERT_TRUE(s.RunChain());  // (what each image shows: ShotsOfAnotherVideo...)
    EXPECT_EQ(s.user.progress,
              (std::vector<std::string>{"Saving", "end", "Saving to JPEG", "end"}));
    ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg({4}));  // one image: no progress bar
    ASSERT_TRUE(s.RunChain());
    EXPECT_EQ(s.user.progress.size(), 4u);
    s.user.escapeAtPump = s.user.pumps + 2;  // the counter goes on: images 7 and 8
    ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg(kAllShots));
    ASSERT_TRUE(s.RunChain());
    EXPECT_TRUE(std::filesystem::exists(folder.File("image0008.jpg")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("image0009.jpg")));
    EXPECT_EQ(s.user.messages, (std::vector<std::string>{
                                   "5 JPEG images have been saved to disk.",
                                   "Jpeg image \"" + folder.File("image0006.jpg") + "\" saved.",
                                   "Publish to the web aborted."}));

    // Publishing numbers from one, makes the folder and opens the first page.
    const std::string page = folder.File("pub/index.html");
    options.targetFile = page;
    s.doc.SetPublishOptions(options);
    ASSERT_TRUE(s.doc.Publishing().Publish());
    ASSERT_TRUE(s.RunChain());
    EXPECT_TRUE(testing::DecodeJpeg(folder.File("pub/image0005.jpg")).size().isValid());
    EXPECT_EQ(s.doc.JpegCounter(), 6);
    ASSERT_TRUE(s.doc.Publishing().LastOutcome().has_value());
    EXPECT_TRUE(s.doc.Publishing().LastOutcome()->complete);
    EXPECT_EQ(s.user.opened, std::vector<std::string>{page});
    EXPECT_EQ(s.user.messages.size(), 3u);  // a publication reports nothing

    // Closing the video ends a publication silently and resets all options
    // but the files.
    options.title = "Holiday";
    options.additionalFiles = {"logo.gif"};
    options.targetFile = folder.File("again/index.html");
    s.doc.SetPublishOptions(options);
    ASSERT_TRUE(s.doc.Publishing().Publish());
    s.doc.CloseVideo();
    EXPECT_FALSE(s.doc.FrameChainRunning() || s.doc.Publishing().LastOutcome().has_value());
    EXPECT_FALSE(std::filesystem::exists(folder.File("again/index.html")));
    EXPECT_EQ(s.user.messages.size(), 3u);
    const PublishOptions& reset = s.doc.GetPublisher().Options();
    EXPECT_EQ(reset.title, "Trevanto Thumbnail");
    EXPECT_EQ(reset.additionalFiles, std::vector<std::string>{"logo.gif"});
    EXPECT_FALSE(s.doc.JpegExport().ExtractAsJpeg({0}));
    EXPECT_EQ(s.user.messages.back(), "Please load a movie file first.");
}

// The images the workers make are byte for byte those of the player's
// seeks, for one worker or several, framed by the template or stretched.
TEST(DocumentOnClip, JpegImagesOfWorkersAreThoseOfSeeks) {
    for (const test::TestClip* clip :
         {test::FindTestClip("clip_mpeg2.mpg"), test::FindTestClip("clip_h264_bpyramid.mp4"),
          &test::VariableRateClip(), test::FindTestClip("clip_mjpeg.avi")}) {
        SCOPED_TRACE(clip->file);
        const test::TempFolder folder;
        Session s;
        ASSERT_TRUE(s.OpenAndSlice(*clip));
        std::vector<int32_t> items(s.view.items.size());
        std::iota(items.begin(), items.end(), 0);
        for (const bool stretch : {false, true}) {
            PublishOptions options;
            options.stretchToFit = stretch;
            options.shotWidth = 160;
            options.shotHeight = 90;
            s.doc.SetPublishOptions(options);
            std::vector<std::vector<char>> images[3];  // 0, 1 and 3 workers
            for (const int jobs : {0, 1, 3}) {
                s.doc.JpegExport().SetJobs(jobs, 1);
                const size_t before = s.doc.JpegExport().WrittenImages().size();
                ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg(items, folder.Path()));
                ASSERT_TRUE(s.RunChain());
                const std::vector<std::string>& written = s.doc.JpegExport().WrittenImages();
                for (size_t i = before; i < written.size(); ++i)
                    images[jobs == 0   ? 0
                           : jobs == 1 ? 1
                                       : 2]
                        .push_back(std::vector<char>(
                            std::istreambuf_iterator<char>(
                                std::ifstream(written[i], std::ios::binary).rdbuf()),
                            {}));
            }
            EXPECT_EQ(images[0].size(), items.size());
            EXPECT_TRUE(images[1] == images[0] && images[2] == images[0])
                << "stretched " << stretch;
        }
        // Escape after the second image: the two are written, none follows.
        s.user.escapeAtPump = s.user.pumps + 2;
        const size_t before = s.doc.JpegExport().WrittenImages().size();
        ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg(items, folder.Path()));
        ASSERT_TRUE(s.RunChain());
        EXPECT_EQ(s.doc.JpegExport().WrittenImages().size(), before + 2);
        EXPECT_EQ(s.user.messages.back(), "Publish to the web aborted.");
    }
}

TEST(DocumentOnClip, ShotsFileRecordsAndFailures) {
    const test::TempFolder folder;
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder.File(name), std::ios::binary) << text;
        return folder.File(name);
    };
    Session s;
    s.user.answer = folder.File("empty.hpv");
    EXPECT_FALSE(s.doc.ShotsFile().SaveShots());  // no video
    ASSERT_TRUE(s.Open(Mpeg1()));
    // No shots: said, and the header is written (its bytes: tests/export).
    EXPECT_TRUE(s.doc.ShotsFile().SaveShots());
    s.user.answer = folder.File("missing/x.hpv");
    EXPECT_FALSE(s.doc.ShotsFile().SaveShots());
    for (const std::string& answer : {write("other.hpv", "trevanto (c) 2004 Qelvar\r\n\r\nx\r\n"),
                                      write("short.hpv", "Trevanto (c) 2004 Qelvar\r\n"),
                                      write("nopath.hpv", "Trevanto (c) 2004 Qelvar\r\nx\r\n"),
                                      folder.Path(), folder.File("absent.hpv")}) {
        s.user.answer = answer;
        s.doc.ShotsFile().LoadShots();
    }
    // LF-only line ends, two records on one line, one ignored record, an image
    // frame past the end and one at the frame count itself.
    s.user.answer = write("odd.hpv", "Trevanto (c) 2004 Qelvar\n\n" + test::MediaPath(Mpeg1()) +
                                         "\nshot 4=10,12,20 shot 5=21,21,30\nshot 0=0,7,0\n"
                                         "shot 6=31,-1,40\nshot 7=41,500,50\nshot 8=190,200,199\n");
    s.doc.ShotsFile().LoadShots();
    ASSERT_TRUE(s.RunChain());
    EXPECT_EQ(s.Ranges(), (RangeList{{10, 20}, {21, 30}, {190, 199}}));
    const std::string wrong = "Wrong shot description. The current shot can't be added.";
    EXPECT_EQ(s.user.messages,
              (std::vector<std::string>{
                  "Please load a movie file first.", "No Shot to save.", "No Shot to save.",
                  "Please choose another filepath.", "Not a Shot file. Sorry !",
                  "Wrong line #3 header in this Shot file. Sorry !",
                  "Missing video filepath in this Shot file. Sorry !",
                  "Shot File error! " + folder.Path() + " is not a file.", "Shot File error!",
                  wrong, wrong, "3 shots extracted from the shots file."}));
    EXPECT_FALSE(s.view.locked);

    // JPEG images too large to make, or whose file cannot be made.
    std::filesystem::create_directories(folder.File("out/image0001.jpg"));
    PublishOptions options;
    options.targetFile = folder.File("out");
    options.stretchToFit = true;
    options.shotWidth = 100000;
    s.doc.SetPublishOptions(options);
    EXPECT_FALSE(s.doc.JpegExport().ExtractAsJpeg({0, 1}));
    options.shotWidth = 1000;  // wider than the screen: the work surface grows
    s.doc.SetPublishOptions(options);
    ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg({0, 1}));
    ASSERT_TRUE(s.RunChain());
    EXPECT_FALSE(s.doc.JpegExport().ExtractAsJpeg({}) || s.doc.JpegExport().ExtractAsJpeg({9}));
    EXPECT_EQ(testing::DecodeJpeg(folder.File("out/image0002.jpg")).size(), QSize(1000, 80));
    const auto last = s.user.messages.end();
    EXPECT_EQ(std::vector<std::string>(last - 3, last),
              (std::vector<std::string>{
                  "Shot images of 100000 x 80 cannot be made: each side must be 1 to 4096 pixels.",
                  "JpegFile :\nCan't open " + folder.File("out/image0001.jpg") + "\n",
                  "Jpeg image \"" + folder.File("out/image0002.jpg") + "\" saved."}));
}

// Slice a clip, open a shorter one: the first clip's shots stay, but no
// output takes them as the open clip's. The outputs of frames leave them out
// and say so, the link refuses them, a publication shows their own pictures,
// a cut made again keeps them as they are.
TEST(DocumentOnClip, ShotsOfAnotherVideoStayButNoOutputTakesThemAsTheOpenVideos) {
    const test::TempFolder folder;
    Session s;
    ASSERT_TRUE(s.OpenAndSlice(Mpeg1()));
    const RangeList first = s.Ranges();
    std::vector<QImage> pictures;
    for (const auto& item : s.view.items)
        pictures.push_back(item.picture);
    ASSERT_TRUE(s.Open(Mpeg2()));
    ASSERT_EQ(s.doc.ShotCount(), 5);
    const std::string none =
        "The 5 shots were taken from another video than clip_mpeg2.mpg: open clip_mpeg1.mpg to ";
    s.user.answer = folder.File("b.hpv");
    EXPECT_FALSE(s.doc.ShotsFile().SaveShots());
    s.user.answer = folder.File("b.csv");
    EXPECT_FALSE(s.doc.ExportShotList());
    EXPECT_FALSE(s.doc.JpegExport().ExtractAsJpeg(kAllShots, folder.Path()));
    EXPECT_EQ(s.doc.CreateVideoLink(0, 4), "");
    EXPECT_EQ(s.doc.CreateVideoLink(2, 2), "");
    EXPECT_EQ(s.user.messages,
              (std::vector<std::string>{
                  none + "write them.", none + "write them.", none + "write them.",
                  "The 2 shots were taken from another video than clip_mpeg2.mpg: open "
                  "clip_mpeg1.mpg to link them.",
                  "The shot was taken from another video than clip_mpeg2.mpg: open clip_mpeg1.mpg "
                  "to link it."}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    // With the open clip's shots beside them, only those are written.
    s.doc.Playback().SeekToFrame(0);
    s.doc.Slicing().StartEngine();
    ASSERT_TRUE(s.RunUntil([&] { return !s.doc.Slicing().IsRunning(); }));
    ASSERT_EQ(s.doc.ShotCount(), 9);
    s.user.messages.clear();
    PublishOptions whole;  // images of whole frames, to read their numbers
    whole.stretchToFit = true;
    whole.shotWidth = 720;
    whole.shotHeight = 576;
    s.doc.SetPublishOptions(whole);
    s.user.answer = folder.File("b.hpv");
    EXPECT_TRUE(s.doc.ShotsFile().SaveShots());
    s.user.answer = folder.File("b.csv");
    EXPECT_TRUE(s.doc.ExportShotList());
    const std::vector<int32_t> all{0, 1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(s.doc.JpegExport().ExtractAsJpeg(all, folder.Path()));
    ASSERT_TRUE(s.RunChain());
    const std::string leftOut =
        "5 of the 9 shots are left out: they were taken from another video than clip_mpeg2.mpg.";
    EXPECT_EQ(s.user.messages,
              (std::vector<std::string>{leftOut, leftOut, leftOut,
                                        "4 JPEG images have been saved to disk."}));
    for (int32_t i = 0; i < 4; ++i) {
        const QImage image = testing::DecodeJpeg(folder.File(JpegImageName(i + 1)));
        EXPECT_EQ(FrameCodeOf(image), s.doc.Shots().At(5 + i)->startFrame) << i;
    }
    std::ifstream csv(folder.File("b.csv"));
    EXPECT_EQ(std::count(std::istreambuf_iterator<char>(csv), {}, '\n'), 5);  // a header, 4 shots
    Session loaded;
    loaded.user.answer = folder.File("b.hpv");
    loaded.doc.ShotsFile().LoadShots();
    ASSERT_TRUE(loaded.RunChain());
    const RangeList both = s.Ranges();
    EXPECT_EQ(loaded.Ranges(), RangeList(both.begin() + 5, both.end()));

    // A publication shows every shot: the first clip's with their own pictures.
    PublishOptions options;
    options.targetFile = folder.File("pub/index.html");
    s.doc.SetPublishOptions(options);
    ASSERT_TRUE(s.doc.Publishing().Publish());
    ASSERT_TRUE(s.RunChain());
    ASSERT_TRUE(s.doc.Publishing().LastOutcome().has_value());
    EXPECT_TRUE(s.doc.Publishing().LastOutcome()->complete);
    for (size_t i = 0; i < 5; ++i) {  // each the JPEG image of its thumbnail
        const std::string own = folder.File("own.jpg");
        ASSERT_TRUE(SaveThumbnailAsJpeg(own, pictures[i], 100, 80).Written());
        EXPECT_EQ(MaxDifference(testing::DecodeJpeg(folder.File("pub/" + JpegImageName(i + 1))),
                                testing::DecodeJpeg(own)),
                  0)
            << i;
    }
    EXPECT_TRUE(std::filesystem::exists(folder.File("pub/image0009.jpg")));

    // Cut again: the first clip's shots keep their ranges and pictures.
    ASSERT_TRUE(s.doc.Editing().RecutShots(1e9f, false));
    ASSERT_TRUE(s.RunChain());
    RangeList expected = first;
    expected.emplace_back(0, 149);
    EXPECT_EQ(s.Ranges(), expected);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(MaxDifference(s.view.items[i].picture, pictures[i]), 0) << i;
    EXPECT_EQ(s.view.items[5].caption, "shot 0006 ( 0 - 149 )");
}

// "Export shot list...": an EDL for a name ending in .edl, else CSV.
TEST(DocumentOnClip, ShotListExport) {
    const test::TempFolder folder;
    Session s;
    s.user.answer = folder.File("a.EDL");
    EXPECT_FALSE(s.doc.ExportShotList());
    ASSERT_TRUE(s.OpenAndSlice(Mpeg1()));
    EXPECT_TRUE(s.doc.ExportShotList());
    s.user.answer = folder.File("a.txt");
    EXPECT_TRUE(s.doc.ExportShotList());
    s.user.answer = folder.File("none/a.csv");
    EXPECT_FALSE(s.doc.ExportShotList());
    std::ifstream edl(folder.File("a.EDL")), csv(folder.File("a.txt"));
    std::string edlLine, csvLine;
    EXPECT_TRUE(std::getline(edl, edlLine) && std::getline(csv, csvLine));
    EXPECT_EQ(edlLine + csvLine,
              "TITLE: clip_mpeg1number,start frame,end frame,start timecode,"
              "end timecode,length,caption\r");
    EXPECT_EQ(s.user.messages, (std::vector<std::string>{"Please load a movie file first.",
                                                         "Cannot write the shot list " +
                                                             folder.File("none/a.csv") + "."}));
}

// The tests run on every clip form, one test per clip, so that each gets
// its own time bound and they run side by side.
class DocumentOnEveryClip : public ::testing::TestWithParam<test::TestClip> {};

// The scores an engine run keeps cut again like fresh runs at other
// thresholds: one below the noise, the default, and the weakest real cut's
// own score, at which that cut goes (a cut needs more than the threshold).
TEST_P(DocumentOnEveryClip, KeptScoresCutAgainLikeFreshEngineRuns) {
    const test::TestClip& clip = GetParam();
    Session kept;
    ASSERT_TRUE(kept.OpenAndSlice(clip));
    std::vector<int32_t> starts, cuts{0};  // each scene one shot, on every codec and container
    for (const auto& range : kept.Ranges())
        starts.push_back(range.first);
    cuts.insert(cuts.end(), clip.cuts.begin(), clip.cuts.end());
    EXPECT_EQ(starts, cuts);
    const std::vector<FrameScore> scores = kept.doc.Slicing().Scores().Frames();
    // Every frame in order, then the frame after the end closing the run.
    ASSERT_EQ(scores.size(), static_cast<size_t>(clip.frameCount) + 1);
    float weakest = 1e9f;
    for (size_t i = 0; i < scores.size(); ++i) {
        EXPECT_EQ(scores[i].frame, static_cast<int32_t>(i));
        if (std::count(clip.cuts.begin(), clip.cuts.end(), scores[i].frame))
            weakest = std::min(weakest, scores[i].change);
    }
    EXPECT_TRUE(scores.front().runStart && scores.back().forced);
    for (const float threshold : {0.25f, 15.0f, weakest}) {
        Session fresh;
        ASSERT_TRUE(fresh.OpenAndSlice(clip, threshold));
        RangeList recut;
        for (const ShotRange& shot : RecutScores(scores, threshold).shots)
            recut.emplace_back(shot.start, shot.end);
        EXPECT_EQ(recut, fresh.Ranges()) << threshold;
    }
    kept.doc.CloseVideo();
    EXPECT_TRUE(kept.doc.Slicing().Scores().IsEmpty());
}

// A run in segments cuts as one run for any number of workers: the
// engine's shots, pictures and scores, within marks too, and the sampler's
// shots. Segments of 7 frames put edges everywhere in these short clips.
TEST_P(DocumentOnEveryClip, EveryWorkerCountSlicesAsOneRun) {
    const test::TestClip& clip = GetParam();
    struct Outcome {
        RangeList shots;
        std::vector<QImage> pictures;
        std::vector<FrameScore> scores;
        bool operator==(const Outcome&) const = default;
    };
    const auto slice = [&](int jobs, int64_t segmentFrames, bool engine, int32_t start,
                           int32_t end) {
        Session s;
        s.doc.Slicing().SetJobs(jobs);
        s.doc.Slicing().SetSegmentFrames(segmentFrames);
        Outcome outcome;
        if (!s.Open(clip) || !s.doc.Playback().SetPlayRange(start, end))
            return outcome;
        s.doc.Playback().SeekToFrame(std::max(start, 0));
        engine ? s.doc.Slicing().StartEngine() : s.doc.Slicing().StartSampler();
        EXPECT_TRUE(s.RunUntil([&] { return !s.doc.Slicing().IsRunning(); }));
        EXPECT_TRUE(s.doc.Slicing().ReadToEnd());
        outcome.shots = s.Ranges();
        for (const auto& item : s.view.items)
            outcome.pictures.push_back(item.picture);
        outcome.scores = s.doc.Slicing().Scores().Frames();
        return outcome;
    };
    const struct {
        bool engine;
        int32_t start, end;
    } rows[] = {{true, -1, -1}, {true, 33, clip.frameCount - 20}, {false, -1, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.engine ? "engine " : "sampler ") << row.start);
        const Outcome one = slice(1, kSegmentFrames, row.engine, row.start, row.end);
        EXPECT_FALSE(one.shots.empty());
        EXPECT_EQ(slice(1, 7, row.engine, row.start, row.end), one);
        EXPECT_EQ(slice(3, 7, row.engine, row.start, row.end), one);
    }
}

// "Slice in real time" stitches the played frames as a run in segments does:
// the content detector, which cuts frames after the cut, still gives each
// shot its first frame.
TEST(DocumentOnClip, ARealTimeRunSlicesAsARunInSegments) {
    const auto slice = [](bool realTime) {
        Session s;
        SlicingSettings settings = s.doc.Slicing().Settings();
        settings.detector = ShotDetector::Content;
        s.doc.Slicing().ApplySlicingSettings(settings);
        s.doc.Slicing().SetRealTimeSlicing(realTime);
        std::pair<RangeList, std::vector<QImage>> outcome;
        if (!s.Open(test::HardCaseClip()))
            return outcome;
        s.doc.Playback().SetRate(8.0f);
        s.doc.Playback().SeekToFrame(0);
        s.doc.HandleGraphEvents();
        s.doc.Slicing().StartEngine();
        EXPECT_TRUE(s.RunUntil([&] { return !s.doc.Slicing().IsRunning(); }));
        outcome.first = s.Ranges();
        for (const auto& item : s.view.items)
            outcome.second.push_back(item.picture);
        return outcome;
    };
    const auto inSegments = slice(false);
    EXPECT_GT(inSegments.first.size(), 3u);
    EXPECT_EQ(slice(true), inSegments);
}

// Stopping a run ends its workers and keeps the shots found, one step of
// the undo stack; nothing comes after.
TEST(DocumentOnClip, StoppingARunKeepsWhatItFound) {
    Session whole, s;
    ASSERT_TRUE(whole.OpenAndSlice(Mpeg1()));
    s.doc.Slicing().SetJobs(2);
    s.doc.Slicing().SetSegmentFrames(1);
    ASSERT_TRUE(s.Open(Mpeg1()));
    s.doc.Slicing().StartEngine();
    ASSERT_TRUE(s.RunUntil([&] { return s.doc.ShotCount() >= 2; }));
    s.doc.Slicing().StopSlicing();
    EXPECT_FALSE(s.doc.Slicing().IsRunning() || s.doc.Slicing().ReadToEnd());
    const RangeList kept = s.Ranges();
    while (s.doc.HandleNextGraphEvent()) {
    }
    EXPECT_EQ(s.Ranges(), kept);
    ASSERT_LT(kept.size(), whole.Ranges().size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.Ranges().begin()));
    s.doc.Editing().Undo();
    EXPECT_TRUE(s.Ranges().empty());
    // Closing the video, or the document, during a run ends its workers.
    s.doc.Slicing().StartEngine();
    s.doc.CloseVideo();
    EXPECT_FALSE(s.doc.Slicing().IsRunning());
    whole.doc.Slicing().StartEngine();
}

// Cutting again from the graph: the engine's shots are replaced, a shot
// made by hand is kept or dropped as the user chooses.
TEST(DocumentOnClip, RecutReplacesTheEngineShots) {
    Session s;
    EXPECT_FALSE(s.doc.Editing().RecutShots(15.0f, true));  // no scores
    ASSERT_TRUE(s.OpenAndSlice(Mpeg1()));
    s.doc.Playback().SeekToFrame(60);
    ASSERT_TRUE(s.RunUntil([&] { return !s.doc.GetPlayer().SeekIssued(); }));
    s.doc.Editing().InsertShot();
    // One shot for the whole clip beside the kept one; then the engine's
    // five again (that one shot is now the engine's), the hand-made dropped.
    const std::pair<float, RangeList> rows[] = {
        {1e9f, {{0, 199}, {60, 60}}},
        {15.0f, {{0, 39}, {40, 84}, {85, 124}, {125, 164}, {165, 199}}}};
    for (const auto& [threshold, ranges] : rows) {
        ASSERT_TRUE(s.doc.Editing().RecutShots(threshold, threshold > 20));
        ASSERT_TRUE(s.RunChain());
        EXPECT_EQ(s.Ranges(), ranges);
        EXPECT_EQ(s.view.items.size(), ranges.size());
        EXPECT_EQ(s.doc.Slicing().Settings().threshold, threshold);
    }
    EXPECT_TRUE(s.user.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Clips, DocumentOnEveryClip, ::testing::ValuesIn(test::EveryClipForm()));

// Files of the kinds once refused by name: one that decodes opens, whatever
// its name says; one that does not gets its format's message. (Each name's
// format: tests/video player_tests.)
TEST(DocumentOnClip, RefusedKindsAreToldOnlyWhenTheyDoNotDecode) {
    const test::TempFolder folder;
    for (const char* name : {"junk.MOV", "junk.mp4", "junk.Ram", "junk.mpg"})
        std::ofstream(folder.File(name)) << std::string(5000, '\x5A') << "not a video";
    std::filesystem::copy_file(test::MediaPath(Mpeg1()), folder.File("mpeg1.rm"));
    // A QuickTime file whose video is of a kind no decoder knows.
    std::ifstream in(test::MediaPath("clip_h264.mov"), std::ios::binary);
    std::string movie(std::istreambuf_iterator<char>(in), {});
    for (size_t at = movie.find("avc1"); at != movie.npos; at = movie.find("avc1", at))
        movie.replace(at, 4, "zq42");
    std::ofstream(folder.File("unknown.mov"), std::ios::binary) << movie;
    const std::pair<std::string, std::string> rows[] = {
        {folder.File("junk.MOV"), "Apple Quicktime format is not supported."},
        {folder.File("unknown.mov"), "Apple Quicktime format is not supported."},
        {folder.File("junk.mp4"), "Apple H264 format is not supported."},
        {folder.File("junk.Ram"), "Real Media format is not supported."},
        {folder.File("junk.mpg"), "Sorry, I do not know how to play this file."},
        {folder.File("gone.mov"), "The video file cannot be found."},
        {test::MediaPath("clip_h264.mov"), ""},
        {folder.File("mpeg1.rm"), ""},
    };
    for (const auto& [path, message] : rows) {
        SCOPED_TRACE(path);
        Session s;
        EXPECT_EQ(s.doc.OpenVideo(path), message.empty());
        EXPECT_EQ(s.user.messages,
                  message.empty() ? std::vector<std::string>{} : std::vector{message});
    }
}

// A clip whose rate changes from 30 to 20 pictures a second (its sampler
// shots and images are checked with every clip form): timecodes (captions,
// shot list) are the pictures' own times.
TEST(DocumentOnClip, VariableRateNumbersAndTimesEachPicture) {
    const test::TempFolder folder;
    Session s;
    ASSERT_TRUE(s.Open(test::VariableRateClip()));
    EXPECT_EQ(s.doc.GetPlayer().FrameCount(), 150);
    s.doc.Slicing().StartSampler();  // one shot every 40 frames
    ASSERT_TRUE(s.RunUntil([&] { return !s.doc.Slicing().IsRunning(); }));
    EXPECT_EQ(s.Ranges(), (RangeList{{0, 39}, {40, 79}, {80, 119}, {120, 149}}));
    s.doc.RecaptionAll();
    std::vector<std::string> captions;
    for (const auto& item : s.view.items)
        captions.push_back(item.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "00:00:00:0000 - 00:00:01:0300", "00:00:01:0333 - 00:00:02:0633",
                            "00:00:02:0666 - 00:00:04:0450", "00:00:04:0500 - 00:00:05:0950"}));
    // The edit list counts at the average rate rounded, 25: frame 120 (4.5 s)
    // is edit frame 112.5 rounded, the end (5.95 s and a frame) 150.
    ASSERT_TRUE(s.doc.WriteShotList(folder.File("v.edl"), ShotListKind::Edl));
    std::ifstream edl(folder.File("v.edl"));
    const std::string text{std::istreambuf_iterator<char>(edl), {}};
    EXPECT_NE(text.find("004  AX       V     C        00:00:04:13 00:00:06:00"), std::string::npos)
        << text;
}

// "Split shot here" keeps the split shot's picture and gives the new shot
// the frame on show, as a shot inserted there would have.
TEST(DocumentOnClip, SplitHereTakesThePictureOfTheFrameOnShow) {
    Session s;
    ASSERT_TRUE(s.OpenAndSlice(Mpeg1()));  // [0-39] [40-84] [85-124] [125-164] [165-199]
    const QImage kept = s.view.items[1].picture;
    for (const int32_t first : {40, 85}) {  // a shot's first frame splits nothing
        s.doc.Playback().SeekToFrame(first);
        ASSERT_TRUE(s.RunUntil([&] { return !s.doc.GetPlayer().SeekIssued(); }));
        EXPECT_FALSE(s.doc.Editing().SplitShotHere());
    }
    s.doc.Playback().SeekToFrame(60);
    ASSERT_TRUE(s.RunUntil([&] { return !s.doc.GetPlayer().SeekIssued(); }));
    ASSERT_TRUE(s.doc.Editing().SplitShotHere());
    EXPECT_EQ(s.Ranges(),
              (RangeList{{0, 39}, {40, 59}, {60, 84}, {85, 124}, {125, 164}, {165, 199}}));
    ASSERT_EQ(s.view.items.size(), 6u);
    EXPECT_EQ(s.view.items[2].caption, "shot 0003 ( 60 - 84 )");
    EXPECT_EQ(s.view.items[5].caption, "shot 0006 ( 165 - 199 )");
    EXPECT_EQ(MaxDifference(s.view.items[1].picture, kept), 0);
    s.doc.Editing().InsertShot();  // the frame on show, made as a shot of its own
    EXPECT_EQ(MaxDifference(s.view.items[2].picture, s.view.items.back().picture), 0);
    EXPECT_TRUE(s.doc.Editing().ShotsModified());
}

}  // namespace
}  // namespace trevanto

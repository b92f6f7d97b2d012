// Exporting shots as JPEG images and publishing them through the document,
// on a generated clip; the images are decoded back with libjpeg.
#include <QFile>

#include "export/jpeg_decode.h"
#include "export_session.h"
#include "support/frame_code.h"

namespace trevanto {
namespace {

using test::ExportSession;

const test::TestClip& Mpeg1Clip() {
    return *test::FindTestClip("clip_mpeg1.mpg");  // 320 x 240, 200 frames
}

std::vector<int32_t> AllItems(const CPlayerDoc& doc) {
    std::vector<int32_t> items;
    for (int32_t item = 0; item < doc.ShotCount(); ++item)
        items.push_back(item);
    return items;
}

// The frame number drawn into a decoded picture; -1 when unreadable.
int FrameCodeOf(const QImage& picture) {
    Surface surface(picture.width(), picture.height());
    if (!surface.CopyFromImage(picture))
        return -1;
    return test::ReadFrameCode(surface);
}

class JpegExportThroughDocument : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(session.OpenAndSlice(Mpeg1Clip()));
        ASSERT_EQ(session.doc.ShotCount(), 5);
        // The options are reset when a video opens; set them after.
        session.doc.GetPublisher().Options().targetFile = folder.File("out.html");
    }
    std::vector<int32_t> StartFrames() const {
        std::vector<int32_t> frames;
        for (const auto& shot : session.doc.Shots())
            frames.push_back(shot->startFrame);
        return frames;
    }

    test::TempFolder folder;
    ExportSession session;
};

TEST_F(JpegExportThroughDocument, StretchedImagesShowEachShotsStartFrame) {
    PublishOptions& options = session.doc.GetPublisher().Options();
    options.stretchToFit = true;
    options.shotWidth = 320;
    options.shotHeight = 240;  // no template: the whole frame shows
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg(AllItems(session.doc)));
    ASSERT_TRUE(session.RunUntilExported());
    const std::vector<int32_t> starts = StartFrames();
    for (size_t i = 0; i < starts.size(); ++i) {
        const QImage image = testing::DecodeJpeg(folder.File(JpegImageName(int32_t(i + 1))));
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_EQ(image.size(), QSize(320, 240));
        EXPECT_EQ(FrameCodeOf(image), starts[i]) << "image " << i + 1;
    }
    EXPECT_EQ(session.dialogUser.messages,
              std::vector<std::string>{"5 JPEG images have been saved to disk."});
    EXPECT_EQ(session.dialogUser.kinds, std::vector<MessageKind>{MessageKind::Information});
    EXPECT_EQ(session.progress.log, (std::vector<std::string>{"begin Saving to JPEG", "end"}));
    EXPECT_EQ(session.progress.last, 32767);
    EXPECT_EQ(session.dialogUser.pumps, 5);
    EXPECT_EQ(session.dialogUser.pumpSize, 20);
    EXPECT_EQ(session.doc.JpegCounter(), 6);
}

TEST_F(JpegExportThroughDocument, CounterGoesOnAcrossExtractionsAndOneImageIsNamed) {
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg({0, 2}));
    ASSERT_TRUE(session.RunUntilExported());
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg({4}));
    ASSERT_TRUE(session.RunUntilExported());
    const std::string third = folder.File("image0003.jpg");
    EXPECT_EQ(session.dialogUser.messages,
              (std::vector<std::string>{"2 JPEG images have been saved to disk.",
                                        "Jpeg image \"" + third + "\" saved."}));
    EXPECT_EQ(session.doc.JpegExport().WrittenImages(),
              (std::vector<std::string>{folder.File("image0001.jpg"), folder.File("image0002.jpg"),
                                        third}));
    // One image shows no progress bar.
    EXPECT_EQ(session.progress.log, (std::vector<std::string>{"begin Saving to JPEG", "end"}));
    EXPECT_EQ(testing::DecodeJpeg(third).size(), QSize(100, 80));
}

TEST_F(JpegExportThroughDocument, EscapeAbortsAfterTheImageInHand) {
    session.dialogUser.escapeAtPump = 2;
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg(AllItems(session.doc)));
    ASSERT_TRUE(session.RunUntilExported());
    EXPECT_EQ(session.dialogUser.messages, std::vector<std::string>{"Publish to the web aborted."});
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.File("image0002.jpg"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.File("image0003.jpg"))));
    EXPECT_EQ(session.progress.log.back(), "end");
    EXPECT_FALSE(session.doc.FrameChainRunning());
}

TEST_F(JpegExportThroughDocument, PublishingNumbersFromOneAndMakesThePages) {
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg({0, 1, 2}));
    ASSERT_TRUE(session.RunUntilExported());
    ASSERT_EQ(session.doc.JpegCounter(), 4);
    session.dialogUser.messages.clear();

    const std::string page = folder.File("pub/index.html");  // the folder is made
    session.doc.GetPublisher().Options().targetFile = page;
    ASSERT_TRUE(session.doc.Publishing().Publish());
    EXPECT_TRUE(session.doc.Publishing().IsRunning());
    ASSERT_TRUE(session.RunUntilExported());
    EXPECT_FALSE(session.doc.Publishing().IsRunning());
    for (int32_t i = 1; i <= 5; ++i) {
        EXPECT_FALSE(testing::DecodeJpeg(folder.File("pub/" + JpegImageName(i))).isNull()) << i;
    }
    EXPECT_EQ(session.doc.JpegCounter(), 6);
    ASSERT_TRUE(session.doc.Publishing().LastOutcome().has_value());
    const PublishOutcome& outcome = *session.doc.Publishing().LastOutcome();
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.firstPagePath, page);
    EXPECT_TRUE(session.dialogUser.messages.empty());  // a publication reports nothing
    EXPECT_EQ(session.dialogUser.opened, std::vector<std::string>{page});
    EXPECT_TRUE(QFile::exists(QString::fromStdString(page)));
}

TEST_F(JpegExportThroughDocument, OpeningAVideoWhileTheEventsGoThroughEndsTheChainSilently) {
    // The user opens a video (Ctrl+O, a recent file) among the events let
    // through after the second image.
    session.dialogUser.onPump = [this](int pump) {
        if (pump == 2) {
            ASSERT_TRUE(session.doc.OpenVideo(test::MediaPath(Mpeg1Clip())));
        }
    };
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg(AllItems(session.doc)));
    ASSERT_TRUE(session.RunUntilExported());
    EXPECT_TRUE(session.dialogUser.messages.empty());  // no report of what was not done
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.File("image0003.jpg"))));

    ASSERT_EQ(session.doc.ShotCount(), 5);  // opening a video keeps the shots
    session.dialogUser.pumps = 0;
    const std::string page = folder.File("pub/index.html");
    session.doc.GetPublisher().Options().targetFile = page;
    ASSERT_TRUE(session.doc.Publishing().Publish());
    ASSERT_TRUE(session.RunUntil([&] { return !session.doc.Publishing().IsRunning(); }));
    EXPECT_FALSE(session.doc.Publishing().LastOutcome().has_value());
    EXPECT_TRUE(session.dialogUser.opened.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(page)));
    EXPECT_TRUE(session.dialogUser.messages.empty());
}

TEST_F(JpegExportThroughDocument, ClosingTheVideoResetsTheOptionsAndEndsTheExport) {
    Publisher& publisher = session.doc.GetPublisher();
    publisher.Options().title = "Holiday";
    publisher.Options().additionalFiles = {"logo.gif"};
    ASSERT_TRUE(session.doc.JpegExport().ExtractAsJpeg(AllItems(session.doc)));
    session.doc.CloseVideo();
    EXPECT_FALSE(session.doc.JpegExport().IsActive());
    EXPECT_EQ(publisher.Options().title, "Trevanto Thumbnail");
    EXPECT_EQ(publisher.Options().targetFile, "output1.html");
    EXPECT_EQ(publisher.Options().additionalFiles, std::vector<std::string>{"logo.gif"});
    EXPECT_FALSE(session.doc.JpegExport().ExtractAsJpeg({0}));
    EXPECT_EQ(session.dialogUser.messages,
              std::vector<std::string>{"Please load a movie file first."});
}

}  // namespace
}  // namespace trevanto

#include "export/jpeg_export_chain.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "export/jpeg_decode.h"
#include "export/jpeg_export.h"
#include "export/shot_template.h"
#include "video/surface.h"

namespace trevanto {
namespace {

using Log = std::vector<std::string>;

// A document that writes real images: the frame surface holds a colour per
// frame, the work surface receives it scaled.
class FakeDocument : public JpegExportHost {
  public:
    FakeDocument() : frame(320, 240), work(640, 480) { shotTemplate.LoadBuiltIn(); }

    bool RequestItemFrame(int32_t item, bool userExport) override {
        log.push_back("request " + std::to_string(item) + (userExport ? " user" : " publish"));
        return canRequest;
    }
    int32_t StartFrameOfItem(int32_t item) const override {
        const auto found = startFrames.find(item);
        return found == startFrames.end() ? -1 : found->second;
    }
    bool ScaleFrame() override {
        log.push_back("scale");
        return canScale && ScaleToWorkSurface(&frame, &work, 100, 80);
    }
    bool SaveImage(const std::string& filePath) override {
        log.push_back("save " + filePath.substr(filePath.rfind('/') + 1));
        return SaveSurfaceAsJpeg(filePath, work, shotTemplate, false, 100, 80).Written();
    }
    bool PumpEventsAndCheckEscape(int maxEvents) override {
        EXPECT_EQ(maxEvents, 20);
        return escapeAfterImages >= 0 && --escapeAfterImages < 0;
    }
    void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
    void BeginProgress(const std::string& caption) override { log.push_back("begin " + caption); }
    void SetProgress(int32_t position) override {
        log.push_back("progress " + std::to_string(position));
    }
    void EndProgress() override { log.push_back("end progress"); }
    void ExportCompleted(bool userExport, const std::string& report) override {
        log.push_back(std::string("completed ") + (userExport ? "user: " : "publish: ") + report);
    }

    Surface frame;
    Surface work;
    ShotTemplate shotTemplate;
    std::map<int32_t, int32_t> startFrames;
    bool canRequest = true;
    bool canScale = true;
    int escapeAfterImages = -1;
    Log log;
};

class JpegExportChainTest : public ::testing::Test {
  protected:
    std::string Folder() const { return dir_.path().toStdString(); }
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    FakeDocument document_;
    int32_t counter_ = 1;
    JpegExportChain chain_{document_, counter_};
};

TEST_F(JpegExportChainTest, OneShotWritesImage0001AndReportsItsPath) {
    document_.startFrames[0] = 10;
    ASSERT_TRUE(chain_.Start({0}, true, Folder()));
    EXPECT_TRUE(chain_.OnFrameArrived(10));
    const std::string path = PathOf("image0001.jpg");
    const std::string report = "Jpeg image \"" + path + "\" saved.";
    EXPECT_EQ(document_.log, (Log{"request 0 user", "scale", "save image0001.jpg",
                                  "message " + report, "completed user: " + report}));
    EXPECT_EQ(counter_, 2);
    EXPECT_FALSE(chain_.IsActive());
    EXPECT_EQ(testing::DecodeJpeg(path).size(), QSize(100, 80));
}

TEST_F(JpegExportChainTest, ThreeShotsNumberOnFromTheCounterWithProgress) {
    counter_ = 8;
    document_.startFrames = {{0, 0}, {1, 40}, {2, 80}};
    ASSERT_TRUE(chain_.Start({0, 1, 2}, true, Folder()));
    chain_.OnFrameArrived(0);
    chain_.OnFrameArrived(40);
    chain_.OnFrameArrived(80);
    const std::string report = "3 JPEG images have been saved to disk.";
    EXPECT_EQ(
        document_.log,
        (Log{"request 0 user", "scale", "save image0008.jpg", "begin Saving to JPEG",
             "progress 10922", "request 1 user", "scale", "save image0009.jpg", "progress 21844",
             "request 2 user", "scale", "save image0010.jpg", "progress 32767", "message " + report,
             "end progress", "completed user: " + report}));
    EXPECT_EQ(counter_, 11);
    for (const char* name : {"image0008.jpg", "image0009.jpg", "image0010.jpg"}) {
        EXPECT_EQ(testing::DecodeJpeg(PathOf(name)).size(), QSize(100, 80)) << name;
    }
}

TEST_F(JpegExportChainTest, PublishingExportIsSilentAndGoesOn) {
    ASSERT_TRUE(chain_.Start({0, 1}, false, Folder()));
    chain_.OnFrameArrived(0);
    chain_.OnFrameArrived(0);
    EXPECT_EQ(document_.log.back(), "completed publish: 2 JPEG images have been saved to disk.");
    for (const std::string& entry : document_.log)
        EXPECT_NE(entry.rfind("message", 0), 0u);
}

TEST_F(JpegExportChainTest, OtherFrameIsSoughtAgainThreeTimesThenWrittenOnce) {
    document_.startFrames[3] = 100;
    ASSERT_TRUE(chain_.Start({3}, true, Folder()));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(chain_.OnFrameArrived(98));
    EXPECT_EQ(chain_.RetriesOfCurrentItem(), 3);
    chain_.OnFrameArrived(99);
    EXPECT_EQ(document_.log.size(), 8u);
    EXPECT_EQ(std::count(document_.log.begin(), document_.log.end(), "request 3 user"), 4);
    EXPECT_EQ(std::count(document_.log.begin(), document_.log.end(), "save image0001.jpg"), 1);
    EXPECT_EQ(counter_, 2);
}

TEST_F(JpegExportChainTest, EscapeAbortsAfterTheCurrentImage) {
    document_.escapeAfterImages = 1;
    ASSERT_TRUE(chain_.Start({0, 1, 2}, false, Folder()));
    chain_.OnFrameArrived(0);
    EXPECT_FALSE(chain_.OnFrameArrived(0));
    EXPECT_EQ(document_.log,
              (Log{"request 0 publish", "scale", "save image0001.jpg", "begin Saving to JPEG",
                   "progress 10922", "request 1 publish", "scale", "save image0002.jpg",
                   "message Publish to the web aborted.", "end progress"}));
    EXPECT_FALSE(chain_.IsActive());
    EXPECT_TRUE(chain_.Items().empty());
    EXPECT_FALSE(chain_.OnFrameArrived(0));  // a late frame does nothing
}

TEST_F(JpegExportChainTest, FailuresEndTheChainCleanly) {
    document_.canScale = false;
    ASSERT_TRUE(chain_.Start({0, 1}, true, Folder()));
    EXPECT_FALSE(chain_.OnFrameArrived(0));
    EXPECT_FALSE(chain_.IsActive());
    EXPECT_EQ(counter_, 1);

    document_.canRequest = false;
    EXPECT_FALSE(chain_.Start({0}, true, Folder()));
    EXPECT_FALSE(chain_.IsActive());
    EXPECT_FALSE(chain_.Start({}, true, Folder()));
}

TEST_F(JpegExportChainTest, UnwritableFolderCountsTheImageAndGoesOn) {
    ASSERT_TRUE(chain_.Start({0, 1}, true, PathOf("missing")));
    chain_.OnFrameArrived(0);
    chain_.OnFrameArrived(0);
    EXPECT_EQ(counter_, 3);
    // The report counts the files written.
    EXPECT_EQ(document_.log.back(), "completed user: 0 JPEG images have been saved to disk.");
    EXPECT_EQ(chain_.SavedCount(), 0);
    EXPECT_EQ(chain_.RequestedCount(), 2);
}

TEST_F(JpegExportChainTest, SecondChainWaitsForTheFirst) {
    ASSERT_TRUE(chain_.Start({0}, true, Folder()));
    EXPECT_FALSE(chain_.Start({1}, true, Folder()));
    chain_.Cancel();
    EXPECT_FALSE(chain_.IsActive());
    EXPECT_TRUE(chain_.Start({1}, true, Folder()));
}

}  // namespace
}  // namespace trevanto

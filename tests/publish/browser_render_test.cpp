// Opens published pages and web archives in headless Chromium and checks from
// the screenshot that the shot images are drawn.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "publish_test_support.h"

namespace trevanto {
namespace {

using publish_test::TempDir;
using publish_test::WriteFile;

constexpr const char* kChromium = "/usr/bin/chromium";

const QColor kShotColours[] = {QColor(220, 20, 20), QColor(20, 180, 40), QColor(30, 40, 220)};

void WriteImage(const std::string& path, const QColor& colour, const char* format) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format)) << path;
}

// Pixels of the screenshot within a small distance of the colour.
int CountPixelsNear(const QImage& screenshot, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < screenshot.height(); ++y) {
        for (int x = 0; x < screenshot.width(); ++x) {
            const QColor pixel = screenshot.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 40 &&
                std::abs(pixel.green() - colour.green()) < 40 &&
                std::abs(pixel.blue() - colour.blue()) < 40) {
                ++count;
            }
        }
    }
    return count;
}

QImage Screenshot(const TempDir& dir, const std::string& page) {
    const std::string profile = dir / "chromium-profile";
    const std::string png = dir / "screenshot.png";
    std::filesystem::create_directories(profile);
    std::filesystem::remove(png);
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.start(kChromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                               "--no-first-run", "--disable-background-networking",
                               "--disable-component-update", "--disable-sync",
                               QString::fromStdString("--user-data-dir=" + profile),
                               QString::fromStdString("--screenshot=" + png),
                               "--window-size=800,600", QString::fromStdString("file://" + page)});
    if (!chromium.waitForFinished(90000)) {
        chromium.kill();
        chromium.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
        return {};
    }
    QImage shot(QString::fromStdString(png));
    EXPECT_FALSE(shot.isNull()) << chromium.readAll().toStdString();
    return shot;
}

class BrowserRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kChromium))
            GTEST_SKIP() << "chromium is not installed";
        publish_test::FillShots(shots_, 3);
        publisher_.PublishVideoFacts("/v/clip.mpg", 75, 3.0);
        publisher_.Options().showResult = true;
    }
    void ExpectTemplatePublicationDrawn(const char* target);
    // The export writes image0001.jpg ... next to the pages.
    void WriteShotImages(const std::string& folder) {
        for (int i = 0; i < 3; ++i) {
            WriteImage(folder + "/image000" + std::to_string(i + 1) + ".jpg", kShotColours[i],
                       "JPG");
        }
    }
    void ExpectShotColours(const QImage& screenshot) {
        ASSERT_FALSE(screenshot.isNull());
        for (const QColor& colour : kShotColours) {
            // Most of a 100 x 80 image; a broken-image placeholder has none of it.
            EXPECT_GT(CountPixelsNear(screenshot, colour), 6000) << colour.name().toStdString();
        }
    }

    TempDir dir_;
    ShotList shots_;
    Publisher publisher_;
};

TEST_F(BrowserRenderTest, BuiltInPageShowsTheShots) {
    WriteShotImages(dir_ / "site");
    publisher_.Options().targetFile = dir_ / "site/index.html";
    const PublishOutcome outcome = PublishPages(publisher_, &shots_);
    ASSERT_TRUE(outcome.complete);
    ExpectShotColours(Screenshot(dir_, outcome.pageToShow));
}

TEST_F(BrowserRenderTest, WebArchiveShowsTheShots) {
    WriteShotImages(dir_ / "site");
    publisher_.Options().targetFile = dir_ / "site/album.mhtml";
    const PublishOutcome outcome = PublishPages(publisher_, &shots_);
    ASSERT_TRUE(outcome.complete);
    // The images are inside the archive: the copies on disk are not needed.
    std::filesystem::rename(dir_ / "site", dir_ / "moved");
    ExpectShotColours(Screenshot(dir_, dir_ / "moved/album.mhtml"));
}

// Publishes three shots through a template that also shows pics/logo.png,
// then checks that Chromium draws the shots and the logo.
void BrowserRenderTest::ExpectTemplatePublicationDrawn(const char* target) {
    WriteShotImages(dir_ / "site");
    const QColor logo(240, 200, 20);
    WriteImage(dir_ / "tpl/pics/logo.png", logo, "PNG");
    WriteFile(dir_ / "tpl/page.html",
              "<html><body style=\"margin:0\"><img src=\"pics/logo.png\"><br>"
              "$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)"
              "$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)"
              "$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)</body></html>");
    publisher_.Options().targetFile = dir_ / target;
    publisher_.SetUseTemplate(true);
    publisher_.Options().templateFile = dir_ / "tpl/page.html";
    const PublishOutcome outcome = PublishPages(publisher_, &shots_);
    ASSERT_TRUE(outcome.complete);
    const QImage screenshot = Screenshot(dir_, outcome.pageToShow);
    ExpectShotColours(screenshot);
    EXPECT_GT(CountPixelsNear(screenshot, logo), 6000);
}

TEST_F(BrowserRenderTest, TemplateArchiveFindsFilesInFolders) {
    ExpectTemplatePublicationDrawn("site/album.mhtml");
}

TEST_F(BrowserRenderTest, TemplatePagesCopyTheirFiles) {
    ExpectTemplatePublicationDrawn("site/index.html");
}

}  // namespace
}  // namespace trevanto

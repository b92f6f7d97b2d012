// Publications of trevanto-cli opened in headless Chromium: every shot image
// the program wrote must be drawn on the page, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_process.h"
#include "export/jpeg_decode.h"

namespace trevanto {
namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

QImage Screenshot(const test::TempFolder& folder, const std::string& page) {
    const std::string profile = folder.File("chromium-profile");
    const std::string png = folder.File("screenshot.png");
    std::filesystem::create_directories(profile);
    std::filesystem::remove(png);
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.start(
        kChromium,
        {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--force-device-scale-factor=1", QString::fromStdString("--user-data-dir=" + profile),
         QString::fromStdString("--screenshot=" + png), "--window-size=800,600",
         QString::fromStdString("file://" + page)});
    if (!chromium.waitForFinished(90000)) {
        chromium.kill();
        chromium.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
        return {};
    }
    QImage shot(QString::fromStdString(png));
    EXPECT_FALSE(shot.isNull()) << chromium.readAll().toStdString();
    return shot.convertToFormat(QImage::Format_RGB32);
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Where the picture is drawn unscaled in the screenshot; (-1, -1) when nowhere.
QPoint FindPicture(const QImage& screenshot, const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> samples;
    for (int y = 5; y < image.height(); y += image.height() / 5)
        for (int x = 5; x < image.width(); x += image.width() / 6)
            samples.emplace_back(x, y);
    for (int top = 0; top + image.height() <= screenshot.height(); ++top) {
        for (int left = 0; left + image.width() <= screenshot.width(); ++left) {
            bool candidate = true;
            for (const QPoint& sample : samples) {
                if (!Near(screenshot.pixel(left + sample.x(), top + sample.y()),
                          image.pixel(sample), 40)) {
                    candidate = false;
                    break;
                }
            }
            if (!candidate)
                continue;
            int64_t difference = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb a = screenshot.pixel(left + x, top + y);
                    const QRgb b = image.pixel(x, y);
                    difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                  std::abs(qBlue(a) - qBlue(b));
                }
            }
            if (difference < int64_t{6} * image.width() * image.height())
                return {left, top};
        }
    }
    return {-1, -1};
}

class CliPublicationInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kChromium))
            GTEST_SKIP() << "chromium is not installed";
    }
    // Publishes the clip's five shots and keeps their decoded images.
    std::string Publish(const std::string& target) {
        const auto result = test::RunCli(
            {"slice", test::MediaPath("clip_mpeg1.mpg"), "--publish", target, "--quiet"});
        EXPECT_EQ(result.status, 0) << result.err;
        const std::string folder = std::filesystem::path(target).parent_path().string();
        for (int i = 1; i <= 5; ++i) {
            images.push_back(
                testing::DecodeJpeg(folder + "/image000" + std::to_string(i) + ".jpg"));
            EXPECT_FALSE(images.back().isNull()) << i;
        }
        // The first page's path is the last line.
        const size_t lastLine = result.out.rfind('\n', result.out.size() - 2);
        return result.out.substr(lastLine == std::string::npos ? 0 : lastLine + 1);
    }
    void ExpectEveryImageDrawn(const QImage& screenshot) {
        ASSERT_FALSE(screenshot.isNull());
        std::vector<QPoint> places;
        for (size_t i = 0; i < images.size(); ++i) {
            const QPoint place = FindPicture(screenshot, images[i]);
            EXPECT_NE(place, QPoint(-1, -1)) << "image " << i + 1 << " is not drawn";
            for (const QPoint& other : places)
                EXPECT_NE(place, other) << "image " << i + 1;
            places.push_back(place);
        }
        // A picture that is not on the page is not found.
        QImage absent = images.front().copy();
        absent.invertPixels();
        EXPECT_EQ(FindPicture(screenshot, absent), QPoint(-1, -1));
    }

    test::TempFolder folder;
    std::vector<QImage> images;
};

TEST_F(CliPublicationInBrowser, PageShowsEveryShotImage) {
    const std::string page = folder.File("site/index.html");
    EXPECT_EQ(Publish(page), page + "\n");
    ExpectEveryImageDrawn(Screenshot(folder, page));
}

TEST_F(CliPublicationInBrowser, ArchiveShowsEveryShotImageWithoutTheFiles) {
    const std::string archive = folder.File("site/album.mhtml");
    EXPECT_EQ(Publish(archive), archive + "\n");
    // The images travel inside the archive.
    std::filesystem::rename(folder.File("site"), folder.File("moved"));
    ExpectEveryImageDrawn(Screenshot(folder, folder.File("moved/album.mhtml")));
}

}  // namespace
}  // namespace trevanto

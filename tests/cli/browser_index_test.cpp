// The batch's index as one web archive, moved away from the batch's folder
// and opened alone in headless Chromium, still shows every video's shots.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <filesystem>

#include "cli_process.h"
#include "support/browser_screenshot.h"

namespace trevanto {
namespace {

namespace fs = std::filesystem;

// Pixels of strong colour: the page is black, white and grey but for its
// pictures (a broken image is drawn as a black box and its grey alt text).
int ColouredPixels(const QImage& screenshot) {
    int count = 0;
    for (int y = 0; y < screenshot.height(); ++y) {
        for (int x = 0; x < screenshot.width(); ++x) {
            const QColor pixel = screenshot.pixelColor(x, y);
            count += std::max({pixel.red(), pixel.green(), pixel.blue()}) -
                         std::min({pixel.red(), pixel.green(), pixel.blue()}) >
                     80;
        }
    }
    return count;
}

TEST(BrowserIndex, TheArchiveShowsEveryVideosShotsAlone) {
    if (!fs::exists(test::kChromium))
        GTEST_SKIP() << "chromium is not installed";
    test::TempFolder folder;
    // Two videos whose images bear the same names in two folders.
    fs::create_directories(folder / "in/a");
    fs::create_directories(folder / "in/b");
    fs::copy_file(test::MediaPath("clip_mpeg1.mpg"), folder / "in/a/clip.mpg");
    fs::copy_file(test::MediaPath("clip_h264.mov"), folder / "in/b/clip.mov");
    const auto run = test::RunCli({"batch", "--index", folder / "out/all.mhtml", folder / "in",
                                   "--out", folder / "out", "--jpeg", "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err;
    fs::create_directories(folder / "away");
    fs::rename(folder / "out/all.mhtml", folder / "away/all.mhtml");
    fs::remove_all(folder / "out");
    const QImage screenshot = test::Screenshot(folder.Path(), folder / "away/all.mhtml");
    ASSERT_FALSE(screenshot.isNull());
    // Each clip has a red and blue checkered shot and a green one: about
    // 24000 pixels; the links' and broken images' purple text about 6000.
    EXPECT_GT(ColouredPixels(screenshot), 15000);
}

}  // namespace
}  // namespace trevanto

// Opens published pages and web archives in headless Chromium and checks from
// the screenshot that the shot images (and a template's logo) are drawn.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "publish/publisher.h"
#include "publish/publishing_run.h"
#include "publish_test_support.h"
#include "support/browser_screenshot.h"

namespace trevanto {
namespace {

using namespace publish_test;
using test::CountPixelsNear;
using test::kChromium;

void WriteImage(const std::string& path, const QColor& colour, const char* format) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format)) << path;
}

TEST(BrowserRenderTest, PublicationsShowTheirShots) {
    if (!std::filesystem::exists(kChromium))
        GTEST_SKIP() << "chromium is not installed";
    const QColor colours[] = {{220, 20, 20}, {20, 180, 40}, {30, 40, 220}, {240, 200, 20}};
    // An archive holds its images: the copies on disk are moved away before it is shown.
    // Templates: none, the test's own (with a logo), or one shipped with the program.
    const std::pair<const char*, std::string> rows[] = {
        {"index.html", ""},
        {"album.mhtml", ""},
        {"index.html", "page.html"},
        {"album.mhtml", "page.html"},
        {"index.html", TREVANTO_TEMPLATES_DIR "/responsive_grid.html"},
        {"album.mhtml", TREVANTO_TEMPLATES_DIR "/filmstrip.html"},
        {"index.html", TREVANTO_TEMPLATES_DIR "/contact_sheet.html"}};
    for (const auto& [target, pageTemplate] : rows) {
        SCOPED_TRACE(std::string(target) + " from " + pageTemplate);
        const bool ownTemplate = pageTemplate == "page.html";
        TempDir dir;
        ShotList shots;
        FillShots(shots, 3);
        for (int i = 0; i < 3; ++i)  // the export writes image0001.jpg ... next to the pages
            WriteImage(dir / ("site/image000" + std::to_string(i + 1) + ".jpg"), colours[i], "JPG");
        WriteImage(dir / "tpl/pics/logo.png", colours[3], "PNG");
        const std::string block = "$(BEGINSHOT)<img src=\"$(SHOTFILENAME)\">$(ENDSHOT)";
        WriteFile(dir / "tpl/page.html",
                  "<html><body style=\"margin:0\"><img src=\"pics/logo.png\">"
                  "<br>" +
                      block + block + block + "</body></html>");
        Publisher publisher;
        publisher.PublishVideoFacts("/v/clip.mpg", 75, 3.0);
        publisher.Options().targetFile = dir / ("site/" + std::string(target));
        publisher.Options().showResult = true;
        publisher.SetUseTemplate(!pageTemplate.empty());
        publisher.Options().templateFile = ownTemplate ? dir / "tpl/page.html" : pageTemplate;
        const PublishOutcome outcome = PublishPages(publisher, &shots);
        ASSERT_TRUE(outcome.complete && outcome.problems.empty());
        std::filesystem::rename(dir / "site", dir / "moved");
        const bool archive = publisher.IsArchive();
        const std::string shown =
            archive ? dir / ("moved/" + std::string(target)) : outcome.pageToShow;
        if (!archive)
            std::filesystem::rename(dir / "moved", dir / "site");
        const QImage screenshot = test::Screenshot(dir.Path(), shown);
        ASSERT_FALSE(screenshot.isNull());
        // Most of a 100 x 80 image; a broken-image placeholder has none of it.
        for (int i = 0; i < (ownTemplate ? 4 : 3); ++i)
            EXPECT_GT(CountPixelsNear(screenshot, colours[i]), 6000) << i;
    }
}

}  // namespace
}  // namespace trevanto

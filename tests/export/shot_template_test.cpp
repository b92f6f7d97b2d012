#include "export/shot_template.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "common/paths.h"
#include "export/shot_thumbnail.h"
#include "video/surface.h"

namespace trevanto {
namespace {

constexpr QRgb kFramePixel = 0xFF3366CC;

Surface FrameSurface() {
    Surface surface(100, 80);
    surface.Fill(kFramePixel & 0xFFFFFF);
    return surface;
}

QImage Filled(int width, QRgb colour, QRgb spot = 0) {
    QImage picture(width, 80, QImage::Format_RGB32);
    picture.fill(colour);
    if (spot != 0)
        picture.setPixel(10, 10, spot);
    return picture;
}

TEST(ShotTemplate, BuiltInFramesTheFrameInItsMagentaWindow) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    const QImage& picture = shotTemplate.Picture();
    ASSERT_EQ(picture.size(), QSize(100, 80));
    const QImage thumbnail = MakeShotThumbnail(FrameSurface(), shotTemplate);
    ASSERT_EQ(thumbnail.format(), QImage::Format_RGB888);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool window = x >= 4 && x <= 90 && y >= 4 && y <= 70;
            ASSERT_EQ((picture.pixel(x, y) & 0xFFFFFF) == 0xFF00FF, window) << x << "," << y;
            ASSERT_EQ(thumbnail.pixel(x, y), window ? kFramePixel : picture.pixel(x, y));
        }
    }
    // Gold next to the window, lighter towards the outer edge; a grey shadow.
    EXPECT_EQ(QColor(picture.pixel(3, 40)), QColor(206, 172, 70));
    EXPECT_GT(QColor(picture.pixel(1, 40)).lightness(), QColor(picture.pixel(3, 40)).lightness());
    const QColor shadow(picture.pixel(98, 40));
    EXPECT_EQ(shadow.red(), shadow.green());
    EXPECT_LT(shadow.red(), 200);
}

TEST(ShotTemplate, TheTransparentColourOpensTheWindow) {
    Surface frame(100, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            frame.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2 + y));
    const QImage framePicture = frame.ToImage();
    const struct {
        QImage picture;
        QRgb transparent;
    } rows[] = {{Filled(100, kMagenta), kMagenta},
                {Filled(100, 0xFF102030, 0xFFFE00FF), kMagenta},  // near magenta is opaque
                {Filled(100, 0xFF00FF00, 0xFFFFFFFF), 0xFF00FF00}};
    for (const auto& row : rows) {
        ShotTemplate shotTemplate;
        ASSERT_TRUE(shotTemplate.PrepareTemplate(row.picture, row.transparent));
        const QImage thumbnail = MakeShotThumbnail(frame, shotTemplate);
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                const QRgb own = row.picture.pixel(x, y);
                ASSERT_EQ(thumbnail.pixel(x, y),
                          own == row.transparent ? framePicture.pixel(x, y) : own)
                    << x << "," << y;
            }
        }
    }
}

TEST(ShotTemplate, FileTemplatesAreLoadedAndOthersRefused) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    ASSERT_TRUE(Filled(100, 0xFF808080, kMagenta).save(dir.filePath("good.bmp"), "BMP"));
    ASSERT_TRUE(Filled(101, 0xFF808080).save(dir.filePath("wide.bmp"), "BMP"));
    QFile text(dir.filePath("text.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a bitmap") > 0);
    text.close();
    const struct {
        std::string path, message;
    } rows[] = {{path("good.bmp"), ""},
                {path("wide.bmp"), path("wide.bmp") + " is not a 100 x 80 picture."},
                {path("missing.bmp"), "cannot load " + path("missing.bmp")},
                {path("text.bmp"), "cannot load " + path("text.bmp")}};
    for (const auto& row : rows) {
        ShotTemplate shotTemplate;
        std::string message;
        EXPECT_EQ(shotTemplate.LoadTemplateFile(row.path, message), row.message.empty());
        EXPECT_EQ(message, row.message);
        EXPECT_EQ(shotTemplate.IsLoaded(), row.message.empty());
        // Without a template thumbnails carry no frame at all.
        EXPECT_EQ(MakeShotThumbnail(FrameSurface(), shotTemplate).pixel(99, 79) == kFramePixel,
                  !row.message.empty());
    }
}

TEST(ShotTemplate, RelativePathIsLookedForInTheShippedBitmapsFolders) {
    // The program's own folder, then the data folder of an install (and of
    // the build tree) beside it.
    for (const char* data : {"", "../share/trevanto"}) {
        const QString bitmaps =
            QString::fromStdString(JoinPath(JoinPath(ApplicationFolder(), data), "bitmaps"));
        ASSERT_TRUE(QDir().mkpath(bitmaps)) << data;
        const QString file = bitmaps + "/export-test-template.bmp";
        ASSERT_TRUE(Filled(100, 0xFF123456).save(file, "BMP"));
        ShotTemplate shotTemplate;
        std::string message;
        const bool loaded = shotTemplate.LoadTemplateFile("export-test-template.bmp", message);
        QFile::remove(file);
        QDir().rmdir(bitmaps);  // only when empty
        ASSERT_TRUE(loaded) << data << ": " << message;
        EXPECT_EQ(shotTemplate.Picture().pixel(0, 0), 0xFF123456u) << data;
    }
}

TEST(ShotTemplate, DrawnStretchedOrNot) {
    QImage target(150, 90, QImage::Format_RGB32);
    target.fill(kFramePixel);
    const QImage before = target;
    EXPECT_FALSE(ShotTemplate().DrawTemplate(target, false));
    EXPECT_EQ(target, before);
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    ASSERT_TRUE(shotTemplate.DrawTemplate(target, false));
    EXPECT_NE(target.pixel(99, 79), kFramePixel);
    EXPECT_EQ(target.pixel(100, 40), kFramePixel);
    EXPECT_EQ(target.pixel(40, 80), kFramePixel);
    target = before;
    ASSERT_TRUE(shotTemplate.DrawTemplate(target, true));
    EXPECT_EQ(target.pixel(75, 45), kFramePixel);  // middle of the window
    EXPECT_NE(target.pixel(0, 0), kFramePixel);
    EXPECT_NE(target.pixel(149, 89), kFramePixel);  // the shadow reaches the corner
    // The right border is scaled by 1.5: about 13 pixels instead of 9.
    EXPECT_NE(target.pixel(137, 45), kFramePixel);
    EXPECT_EQ(target.pixel(134, 45), kFramePixel);
}

}  // namespace
}  // namespace trevanto

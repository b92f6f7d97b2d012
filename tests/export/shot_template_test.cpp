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

bool InsideWindow(int x, int y) {
    return x >= 4 && x <= 90 && y >= 4 && y <= 70;
}

Surface FrameSurface(QRgb colour) {
    Surface surface(100, 80);
    surface.Fill(colour & 0xFFFFFF);
    return surface;
}

std::string SavePicture(const QTemporaryDir& dir, const QImage& picture, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(picture.save(path, "BMP"));
    return path.toStdString();
}

TEST(ShotTemplate, BuiltInHasTheMagentaWindowAndAnOpaqueBorder) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    const QImage& picture = shotTemplate.Picture();
    ASSERT_EQ(picture.size(), QSize(100, 80));
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool magenta = (picture.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
            EXPECT_EQ(magenta, InsideWindow(x, y)) << x << "," << y;
        }
    }
    // Gold next to the window, lighter towards the outer edge.
    const QColor inner(picture.pixel(3, 40));
    const QColor outer(picture.pixel(1, 40));
    EXPECT_EQ(inner, QColor(206, 172, 70));
    EXPECT_GT(outer.lightness(), inner.lightness());
    // Grey shadow at the right and bottom.
    const QColor shadow(picture.pixel(98, 40));
    EXPECT_EQ(shadow.red(), shadow.green());
    EXPECT_LT(shadow.red(), 200);
}

TEST(ShotThumbnail, BuiltInTemplateFramesTheFrame) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    const QImage thumbnail = MakeShotThumbnail(FrameSurface(kFramePixel), shotTemplate);
    ASSERT_EQ(thumbnail.format(), QImage::Format_RGB888);
    ASSERT_EQ(thumbnail.size(), QSize(100, 80));
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QRgb expected =
                InsideWindow(x, y) ? kFramePixel : shotTemplate.Picture().pixel(x, y);
            ASSERT_EQ(thumbnail.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(ShotThumbnail, AllMagentaTemplateLeavesThePictureUnchanged) {
    QImage magenta(100, 80, QImage::Format_RGB32);
    magenta.fill(kMagenta);
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.PrepareTemplate(magenta));
    Surface frame(100, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            frame.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2 + y));
    const QImage thumbnail = MakeShotThumbnail(frame, shotTemplate);
    EXPECT_EQ(thumbnail, frame.ToImage().convertToFormat(QImage::Format_RGB888));
}

TEST(ShotThumbnail, TemplateWithoutMagentaLeavesOnlyTheTemplate) {
    QImage opaque(100, 80, QImage::Format_RGB32);
    opaque.fill(0xFF102030);
    opaque.setPixel(50, 40, 0xFFFE00FF);  // close to magenta is still opaque
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.PrepareTemplate(opaque));
    const QImage thumbnail = MakeShotThumbnail(FrameSurface(kFramePixel), shotTemplate);
    EXPECT_EQ(thumbnail, opaque.convertToFormat(QImage::Format_RGB888));
}

TEST(ShotThumbnail, ChosenTransparentColourOpensTheWindow) {
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(0xFF00FF00);
    picture.setPixel(10, 10, 0xFFFFFFFF);
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.PrepareTemplate(picture, 0xFF00FF00));
    const QImage thumbnail = MakeShotThumbnail(FrameSurface(kFramePixel), shotTemplate);
    EXPECT_EQ(thumbnail.pixel(0, 0), kFramePixel);
    EXPECT_EQ(thumbnail.pixel(10, 10), 0xFFFFFFFFu);
}

TEST(ShotTemplate, FileTemplateIsLoadedAndWrongSizesAreRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ShotTemplate shotTemplate;
    std::string message;

    QImage good(100, 80, QImage::Format_RGB32);
    good.fill(0xFF808080);
    good.setPixel(1, 1, kMagenta);
    EXPECT_TRUE(shotTemplate.LoadTemplateFile(SavePicture(dir, good, "good.bmp"), message));
    EXPECT_TRUE(message.empty());
    EXPECT_TRUE(shotTemplate.IsLoaded());
    EXPECT_EQ(shotTemplate.TransparencyMask()[101], 1);
    EXPECT_EQ(shotTemplate.TransparencyMask()[0], 0);

    QImage wide(101, 80, QImage::Format_RGB32);
    wide.fill(0xFF808080);
    const std::string widePath = SavePicture(dir, wide, "wide.bmp");
    EXPECT_FALSE(shotTemplate.LoadTemplateFile(widePath, message));
    EXPECT_EQ(message, widePath + " is not a 100 x 80 picture.");
    EXPECT_FALSE(shotTemplate.IsLoaded());
    // Afterwards thumbnails carry no frame at all.
    const QImage thumbnail = MakeShotThumbnail(FrameSurface(kFramePixel), shotTemplate);
    EXPECT_EQ(thumbnail.pixel(0, 0), kFramePixel);
    EXPECT_EQ(thumbnail.pixel(99, 79), kFramePixel);

    const std::string missing = dir.filePath("missing.bmp").toStdString();
    EXPECT_FALSE(shotTemplate.LoadTemplateFile(missing, message));
    EXPECT_EQ(message, "cannot load " + missing);

    const std::string notPicture = dir.filePath("text.bmp").toStdString();
    FILE* file = std::fopen(notPicture.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a bitmap", file);
    std::fclose(file);
    EXPECT_FALSE(shotTemplate.LoadTemplateFile(notPicture, message));
    EXPECT_EQ(message, "cannot load " + notPicture);
}

TEST(ShotTemplate, RelativePathIsLookedForInTheShippedBitmapsFolders) {
    // The program's own folder, then the data folder of an install (and of
    // the build tree) beside it.
    for (const char* data : {"", "../share/trevanto"}) {
        const std::string root = JoinPath(ApplicationFolder(), data);
        const QString bitmaps = QString::fromStdString(JoinPath(root, "bitmaps"));
        const bool created = QDir().mkpath(bitmaps);
        ASSERT_TRUE(created) << data;
        const QString name = QStringLiteral("export-test-template.bmp");
        QImage shipped(100, 80, QImage::Format_RGB32);
        shipped.fill(0xFF123456);
        ASSERT_TRUE(shipped.save(bitmaps + '/' + name, "BMP"));
        ShotTemplate shotTemplate;
        std::string message;
        const bool loaded = shotTemplate.LoadTemplateFile(name.toStdString(), message);
        QFile::remove(bitmaps + '/' + name);
        QDir().rmdir(bitmaps);  // only when empty
        ASSERT_TRUE(loaded) << data << ": " << message;
        EXPECT_EQ(shotTemplate.Picture().pixel(0, 0), 0xFF123456u) << data;
    }
}

TEST(ShotTemplate, StretchedTemplateCoversTheWholeTarget) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    QImage target(150, 90, QImage::Format_RGB32);
    target.fill(kFramePixel);
    ASSERT_TRUE(shotTemplate.DrawTemplate(target, true));
    EXPECT_EQ(target.pixel(75, 45), kFramePixel);  // middle of the window
    EXPECT_NE(target.pixel(0, 0), kFramePixel);
    EXPECT_NE(target.pixel(149, 89), kFramePixel);  // the shadow reaches the corner
    // The right border is scaled by 1.5: about 13 pixels instead of 9.
    EXPECT_NE(target.pixel(137, 45), kFramePixel);
    EXPECT_EQ(target.pixel(134, 45), kFramePixel);

    QImage unstretched(150, 90, QImage::Format_RGB32);
    unstretched.fill(kFramePixel);
    ASSERT_TRUE(shotTemplate.DrawTemplate(unstretched, false));
    EXPECT_NE(unstretched.pixel(99, 79), kFramePixel);
    EXPECT_EQ(unstretched.pixel(100, 40), kFramePixel);
    EXPECT_EQ(unstretched.pixel(40, 80), kFramePixel);
}

TEST(ShotTemplate, DrawingWithoutTemplateChangesNothing) {
    const ShotTemplate none;
    QImage target(100, 80, QImage::Format_RGB32);
    target.fill(kFramePixel);
    const QImage before = target;
    EXPECT_FALSE(none.DrawTemplate(target, false));
    EXPECT_EQ(target, before);
}

}  // namespace
}  // namespace trevanto

// Shot templates and thumbnails, and the JPEG writer read back with libjpeg.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <vector>

#include "common/paths.h"
#include "export/jpeg_decode.h"
#include "export/jpeg_export.h"
#include "export/shot_template.h"
#include "export/shot_thumbnail.h"
#include "picture/surface.h"

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
        std::string path;
        TemplateLoadStatus status;
    } rows[] = {{path("good.bmp"), TemplateLoadStatus::Loaded},
                {path("wide.bmp"), TemplateLoadStatus::NotHundredByEighty},
                {path("missing.bmp"), TemplateLoadStatus::CannotLoad},
                {path("text.bmp"), TemplateLoadStatus::CannotLoad}};
    for (const auto& row : rows) {
        ShotTemplate shotTemplate;
        EXPECT_EQ(shotTemplate.LoadTemplateFile(row.path), row.status) << row.path;
        const bool loaded = row.status == TemplateLoadStatus::Loaded;
        EXPECT_EQ(shotTemplate.IsLoaded(), loaded);
        // Without a template thumbnails carry no frame at all.
        EXPECT_EQ(MakeShotThumbnail(FrameSurface(), shotTemplate).pixel(99, 79) == kFramePixel,
                  !loaded);
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
        const bool loaded =
            shotTemplate.LoadTemplateFile("export-test-template.bmp") == TemplateLoadStatus::Loaded;
        QFile::remove(file);
        QDir().rmdir(bitmaps);  // only when empty
        ASSERT_TRUE(loaded) << data;
        EXPECT_EQ(shotTemplate.Picture().pixel(0, 0), 0xFF123456u) << data;
    }
}

// Drawn unstretched for every thumbnail above.
TEST(ShotTemplate, DrawnStretched) {
    QImage target(150, 90, QImage::Format_RGB32);
    target.fill(kFramePixel);
    const QImage before = target;
    EXPECT_FALSE(ShotTemplate().DrawTemplate(target, true));
    EXPECT_EQ(target, before);
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    ASSERT_TRUE(shotTemplate.DrawTemplate(target, true));
    EXPECT_EQ(target.pixel(75, 45), kFramePixel);  // middle of the window
    EXPECT_NE(target.pixel(0, 0), kFramePixel);
    EXPECT_NE(target.pixel(149, 89), kFramePixel);  // the shadow reaches the corner
    // The right border is scaled by 1.5: about 13 pixels instead of 9.
    EXPECT_NE(target.pixel(137, 45), kFramePixel);
    EXPECT_EQ(target.pixel(134, 45), kFramePixel);
}

// The mean colour of a rectangle.
QRgb Mean(const QImage& image, QRect area) {
    QRgb mean = 0;
    for (int shift : {16, 8, 0}) {
        int64_t sum = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                sum += (image.pixel(x, y) >> shift) & 0xFF;
        mean |= static_cast<QRgb>(sum / (area.width() * area.height())) << shift;
    }
    return mean;
}

// How far the mean colour of a rectangle is from `want`.
int Off(const QImage& image, QRect area, QRgb want) {
    const QRgb mean = Mean(image, area);
    return std::abs(qRed(mean) - qRed(want)) + std::abs(qGreen(mean) - qGreen(want)) +
           std::abs(qBlue(mean) - qBlue(want));
}

TEST(JpegExportTest, OddWidthIsWrittenUprightAndUnshearedOverAnExistingFile) {
    QTemporaryDir dir;
    // Quadrants of distinct colours with a dark vertical bar at x 70..79.
    const QRgb quadrant[2][2] = {{0xE03030, 0x30E030}, {0x3030E0, 0xE0E0E0}};
    Surface work(640, 480);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 150; ++x)
            work.SetPixelRgb(x, y, x >= 70 && x < 80 ? 0x101010 : quadrant[y >= 45][x >= 75]);
    const std::string path = dir.filePath("image0001.jpg").toStdString();
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    ASSERT_TRUE(SaveSurfaceAsJpeg(path, work, ShotTemplate(), true, 150, 90).Written());
    const QImage decoded = testing::DecodeJpeg(path);  // also shows the old bytes are gone
    ASSERT_EQ(decoded.size(), QSize(150, 90));
    for (int i = 0; i < 4; ++i)
        EXPECT_LT(Off(decoded, {i % 2 ? 100 : 10, i / 2 ? 55 : 10, 41, 26}, quadrant[i / 2][i % 2]),
                  30);
    for (int y : {1, 44, 88}) {
        EXPECT_LT(QColor(decoded.pixel(74, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(60, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(90, y)).lightness(), 60) << y;
    }
}

TEST(JpegExportTest, TheScaledFrameIsWrittenInsideTheTemplate) {
    QTemporaryDir dir;
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    Surface frame(320, 240);
    frame.Fill(0x2050A0);
    Surface work(640, 480);
    EXPECT_FALSE(ScaleToWorkSurface(&frame, &work, 641, 80));
    EXPECT_FALSE(ScaleToWorkSurface(nullptr, &work, 100, 80));
    ASSERT_TRUE(ScaleToWorkSurface(&frame, &work, 100, 80));
    EXPECT_EQ(work.PixelRgb(100, 40), 0u);  // only the export rectangle is filled
    const ExportSize size = JpegExportSize(false, 150, 90);
    const std::string path = dir.filePath("framed.jpg").toStdString();
    ASSERT_TRUE(
        SaveSurfaceAsJpeg(path, work, shotTemplate, false, size.width, size.height).Written());
    const QImage decoded = testing::DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(100, 80));
    EXPECT_LT(Off(decoded, {8, 8, 79, 59}, 0x2050A0), 15);
    EXPECT_LT(Off(decoded, {91, 8, 9, 59}, Mean(shotTemplate.Picture(), {91, 8, 9, 59})), 30);
}

TEST(JpegExportTest, FailuresNamesReportsAndTheOutputFolder) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const uint8_t pixel[3] = {1, 2, 3};
    EXPECT_EQ(WriteRgbJpeg(folder + "/a.jpg", nullptr, 1, 1, 3).error, JpegError::Refused);
    EXPECT_EQ(WriteRgbJpeg(folder + "/a.jpg", pixel, 0, 1, 3).error, JpegError::Refused);
    const JpegWriteResult refused = WriteRgbJpeg(folder + "/no/a.jpg", pixel, 1, 1, 3);
    EXPECT_EQ(refused.error, JpegError::CannotOpen);
    EXPECT_EQ(refused.file, folder + "/no/a.jpg");
    // Beyond the library's largest dimension: its error comes back, no abort.
    const std::vector<uint8_t> row(70000 * 3, 128);
    const JpegWriteResult failed = WriteRgbJpeg(folder + "/w.jpg", row.data(), 70000, 1, 70000 * 3);
    EXPECT_EQ(failed.error, JpegError::Library);
    EXPECT_NE(failed.libraryText.find("65500"), std::string::npos) << failed.libraryText;

    EXPECT_EQ(JpegImageName(10000), "image10000.jpg");
    EXPECT_EQ(JpegExportReport(1, "/web/image0001.jpg"),
              "Jpeg image \"/web/image0001.jpg\" saved.");
    EXPECT_EQ(JpegExportReport(5, "/web/image0005.jpg"), "5 JPEG images have been saved to disk.");
    EXPECT_EQ(JpegOutputFolder(folder), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "\\out.html"), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "/missing/out.html"), QDir::currentPath().toStdString());
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()) && QDir().mkdir("web"));
    EXPECT_EQ(JpegOutputFolder("web/out.html"), folder + "/web");
    ASSERT_TRUE(QDir::setCurrent(here));
}

}  // namespace
}  // namespace trevanto

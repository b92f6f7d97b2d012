#include "export/jpeg_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <vector>

#include "export/jpeg_decode.h"

namespace trevanto {
namespace {

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

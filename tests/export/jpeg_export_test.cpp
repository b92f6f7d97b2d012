#include "export/jpeg_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <vector>

#include "export/jpeg_decode.h"

namespace trevanto {
namespace {

using testing::DecodeJpeg;

// The mean colour of a rectangle (x0..x1, y0..y1 inclusive).
QColor Mean(const QImage& image, int x0, int y0, int x1, int y1) {
    int64_t r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x, ++n) {
            r += qRed(image.pixel(x, y));
            g += qGreen(image.pixel(x, y));
            b += qBlue(image.pixel(x, y));
        }
    }
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// How far a rectangle's mean colour is from `want`.
int Off(const QImage& image, int x0, int y0, int x1, int y1, const QColor& want) {
    const QColor mean = Mean(image, x0, y0, x1, y1);
    return std::abs(mean.red() - want.red()) + std::abs(mean.green() - want.green()) +
           std::abs(mean.blue() - want.blue());
}

class JpegExportTest : public ::testing::Test {
  protected:
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(JpegExportTest, OddWidthIsWrittenUprightAndUnshearedOverAnExistingFile) {
    // Quadrants of distinct colours with a dark vertical bar at x 70..79.
    const int width = 150, height = 90;
    Surface work(640, 480);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t quadrant[2][2] = {{0xE03030, 0x30E030}, {0x3030E0, 0xE0E0E0}};
            const bool bar = x >= 70 && x < 80;
            work.SetPixelRgb(x, y, bar ? 0x101010 : quadrant[y >= height / 2][x >= width / 2]);
        }
    }
    const std::string path = PathOf("image0001.jpg");
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    ASSERT_TRUE(SaveSurfaceAsJpeg(path, work, ShotTemplate(), true, width, height).Written());
    EXPECT_LT(QFileInfo(QString::fromStdString(path)).size(), 100000);
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(width, height));
    EXPECT_LT(Off(decoded, 10, 10, 50, 35, QColor(0xE0, 0x30, 0x30)), 30);
    EXPECT_LT(Off(decoded, 100, 10, 140, 35, QColor(0x30, 0xE0, 0x30)), 30);
    EXPECT_LT(Off(decoded, 10, 55, 50, 80, QColor(0x30, 0x30, 0xE0)), 30);
    EXPECT_LT(Off(decoded, 100, 55, 140, 80, QColor(0xE0, 0xE0, 0xE0)), 30);
    for (int y : {1, 44, 88}) {
        EXPECT_LT(QColor(decoded.pixel(74, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(60, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(90, y)).lightness(), 60) << y;
    }
}

TEST_F(JpegExportTest, FailuresComeBackTyped) {
    const uint8_t pixel[3] = {1, 2, 3};
    EXPECT_EQ(WriteRgbJpeg(PathOf("a.jpg"), nullptr, 1, 1, 3).error, JpegError::Refused);
    EXPECT_EQ(WriteRgbJpeg(PathOf("a.jpg"), pixel, 0, 1, 3).error, JpegError::Refused);
    const std::string unwritable = PathOf("no-such-folder/image0001.jpg");
    const JpegWriteResult refused = WriteRgbJpeg(unwritable, pixel, 1, 1, 3);
    EXPECT_EQ(refused.error, JpegError::CannotOpen);
    EXPECT_EQ(refused.file, unwritable);
    // Beyond the library's largest dimension: its error comes back, no abort.
    const int wide = 70000;
    const std::vector<uint8_t> row(static_cast<size_t>(wide) * 3, 128);
    const JpegWriteResult failed = WriteRgbJpeg(PathOf("wide.jpg"), row.data(), wide, 1, wide * 3);
    EXPECT_EQ(failed.error, JpegError::Library);
    EXPECT_NE(failed.libraryText.find("65500"), std::string::npos) << failed.libraryText;
}

TEST_F(JpegExportTest, TheScaledFrameIsWrittenInsideTheTemplate) {
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
    const std::string path = PathOf("framed.jpg");
    ASSERT_TRUE(
        SaveSurfaceAsJpeg(path, work, shotTemplate, false, size.width, size.height).Written());
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(100, 80));
    EXPECT_LT(Off(decoded, 8, 8, 86, 66, QColor(0x20, 0x50, 0xA0)), 15);
    EXPECT_LT(Off(decoded, 91, 8, 99, 66, Mean(shotTemplate.Picture(), 91, 8, 99, 66)), 30);
}

TEST_F(JpegExportTest, ImageNamesReportsAndOutputFolder) {
    EXPECT_EQ(JpegImageName(10000), "image10000.jpg");
    EXPECT_EQ(JpegExportReport(1, "/web/image0001.jpg"),
              "Jpeg image \"/web/image0001.jpg\" saved.");
    EXPECT_EQ(JpegExportReport(5, "/web/image0005.jpg"), "5 JPEG images have been saved to disk.");
    const std::string folder = dir_.path().toStdString();
    const std::string current = QDir::currentPath().toStdString();
    EXPECT_EQ(JpegOutputFolder(folder), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "\\out.html"), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "/missing/out.html"), current);
    const QDir here = QDir::current();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    ASSERT_TRUE(QDir().mkdir("web"));
    EXPECT_EQ(JpegOutputFolder("web/out.html"), folder + "/web");
    ASSERT_TRUE(QDir::setCurrent(here.path()));
}

}  // namespace
}  // namespace trevanto

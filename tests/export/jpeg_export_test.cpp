#include "export/jpeg_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "export/jpeg_decode.h"
#include "export/jpeg_writer.h"

namespace trevanto {
namespace {

using testing::DecodeJpeg;

// The mean colour of a rectangle (x0..x1, y0..y1 inclusive).
QColor Mean(const QImage& image, int x0, int y0, int x1, int y1) {
    int64_t r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const QRgb pixel = image.pixel(x, y);
            r += qRed(pixel);
            g += qGreen(pixel);
            b += qBlue(pixel);
            ++n;
        }
    }
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

bool IsJpegFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // JFIF APP0 and a baseline start-of-frame marker.
    return bytes.size() > 20 && bytes.compare(0, 2, "\xFF\xD8") == 0 &&
           bytes.compare(6, 4, "JFIF") == 0 && bytes.find("\xFF\xC0") != std::string::npos;
}

class JpegExportTest : public ::testing::Test {
  protected:
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }
    QTemporaryDir dir_;
};

TEST_F(JpegExportTest, WrittenRowsDecodeBackUpright) {
    const int width = 64, height = 48;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = y < height / 2 ? 220 : 20;  // red on top
            p[1] = x < width / 2 ? 200 : 30;   // green on the left
            p[2] = 60;
        }
    }
    const std::string path = PathOf("rows.jpg");
    const JpegWriteResult result = WriteRgbJpeg(path, rgb.data(), width, height);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_TRUE(IsJpegFile(path));
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(width, height));
    EXPECT_LT(Distance(Mean(decoded, 4, 4, 20, 16), QColor(220, 200, 60)), 25);
    EXPECT_LT(Distance(Mean(decoded, 44, 32, 60, 44), QColor(20, 30, 60)), 25);
}

TEST_F(JpegExportTest, RefusedCallsAndFailuresReportTheirTexts) {
    const uint8_t pixel[3] = {1, 2, 3};
    EXPECT_FALSE(WriteRgbJpeg(PathOf("a.jpg"), nullptr, 1, 1).written);
    const JpegWriteResult empty = WriteRgbJpeg(PathOf("a.jpg"), pixel, 0, 1);
    EXPECT_FALSE(empty.written);
    EXPECT_TRUE(empty.message.empty());

    const std::string unwritable = PathOf("no-such-folder/image0001.jpg");
    const JpegWriteResult refused = WriteRgbJpeg(unwritable, pixel, 1, 1);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.message, "JpegFile :\nCan't open " + unwritable + "\n");
    EXPECT_TRUE(refused.title.empty());

    // Beyond the library's largest dimension: its error comes back, no abort.
    const int wide = 70000;
    const std::vector<uint8_t> row(static_cast<size_t>(wide) * 3, 128);
    const JpegWriteResult failed = WriteRgbJpeg(PathOf("wide.jpg"), row.data(), wide, 1);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(failed.title, "JPEG Fatal Error");
    EXPECT_NE(failed.message.find("65500"), std::string::npos) << failed.message;
}

TEST_F(JpegExportTest, ExistingFileIsOverwritten) {
    const std::string path = PathOf("image0001.jpg");
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    const std::vector<uint8_t> rgb(8 * 8 * 3, 200);
    ASSERT_TRUE(WriteRgbJpeg(path, rgb.data(), 8, 8).written);
    EXPECT_EQ(DecodeJpeg(path).size(), QSize(8, 8));
    EXPECT_LT(QFileInfo(QString::fromStdString(path)).size(), 100000);
}

TEST_F(JpegExportTest, PackingFlipsAndSwapsRowsOfAnyWidth) {
    // A 5 x 2 DIB: 15 pixel bytes and one padding byte per row.
    const int width = 5, height = 2;
    ASSERT_EQ(DibStride(width), 16);
    std::vector<uint8_t> dib(32, 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &dib[static_cast<size_t>(y) * 16 + x * 3];
            p[0] = static_cast<uint8_t>(x);       // blue
            p[1] = static_cast<uint8_t>(10 * y);  // green
            p[2] = 100;                           // red
        }
    }
    const auto rgb = PackFlipAndSwap(dib.data(), width, height);
    ASSERT_NE(rgb, nullptr);
    // Bottom-up: the DIB's first row is the picture's bottom row.
    for (int x = 0; x < width; ++x) {
        EXPECT_EQ(rgb[x * 3 + 0], 100);
        EXPECT_EQ(rgb[x * 3 + 1], 10);
        EXPECT_EQ(rgb[x * 3 + 2], x);
        EXPECT_EQ(rgb[15 + x * 3 + 1], 0);
    }
}

// Quadrants of distinct colours with a dark vertical bar at x 70..79.
Surface QuadrantSurface(int width, int height) {
    Surface work(640, 480);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = 0;
            if (y < height / 2)
                rgb = x < width / 2 ? 0xE03030 : 0x30E030;
            if (y >= height / 2)
                rgb = x < width / 2 ? 0x3030E0 : 0xE0E0E0;
            if (x >= 70 && x < 80)
                rgb = 0x101010;
            work.SetPixelRgb(x, y, rgb);
        }
    }
    return work;
}

TEST_F(JpegExportTest, WidthNotMultipleOfFourIsUprightAndUnsheared) {
    const Surface work = QuadrantSurface(150, 90);
    const ShotTemplate none;
    const std::string path = PathOf("wide150.jpg");
    ASSERT_TRUE(SaveSurfaceAsJpeg(path, work, none, true, 150, 90).written);
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(150, 90));
    EXPECT_LT(Distance(Mean(decoded, 10, 10, 50, 35), QColor(0xE0, 0x30, 0x30)), 30);
    EXPECT_LT(Distance(Mean(decoded, 100, 10, 140, 35), QColor(0x30, 0xE0, 0x30)), 30);
    EXPECT_LT(Distance(Mean(decoded, 10, 55, 50, 80), QColor(0x30, 0x30, 0xE0)), 30);
    EXPECT_LT(Distance(Mean(decoded, 100, 55, 140, 80), QColor(0xE0, 0xE0, 0xE0)), 30);
    // The bar stays at the same columns from the top row to the bottom row.
    for (int y : {1, 44, 88}) {
        EXPECT_LT(QColor(decoded.pixel(74, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(60, y)).lightness(), 60) << y;
        EXPECT_GT(QColor(decoded.pixel(90, y)).lightness(), 60) << y;
    }
}

TEST_F(JpegExportTest, ImageShowsTheFrameInsideTheWindowAndTheTemplateOutside) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    Surface work(640, 480);
    work.Fill(0x2050A0);
    const std::string path = PathOf("framed.jpg");
    ASSERT_TRUE(SaveSurfaceAsJpeg(path, work, shotTemplate, false, 100, 80).written);
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(100, 80));
    const QImage& templ = shotTemplate.Picture();
    EXPECT_LT(Distance(Mean(decoded, 8, 8, 86, 66), QColor(0x20, 0x50, 0xA0)), 15);
    EXPECT_LT(Distance(Mean(decoded, 91, 8, 99, 66), Mean(templ, 91, 8, 99, 66)), 30);
    EXPECT_LT(Distance(Mean(decoded, 8, 71, 86, 79), Mean(templ, 8, 71, 86, 79)), 30);
    EXPECT_LT(Distance(Mean(decoded, 0, 0, 99, 3), Mean(templ, 0, 0, 99, 3)), 30);
}

TEST_F(JpegExportTest, StretchedTemplateFitsTheShotSize) {
    ShotTemplate shotTemplate;
    ASSERT_TRUE(shotTemplate.LoadBuiltIn());
    const ExportSize size = JpegExportSize(true, 150, 90);
    EXPECT_EQ(JpegExportSize(false, 150, 90).width, 100);
    EXPECT_EQ(JpegExportSize(false, 150, 90).height, 80);
    Surface frame(320, 240);
    frame.Fill(0x2050A0);
    Surface work(640, 480);
    ASSERT_TRUE(ScaleToWorkSurface(&frame, &work, size.width, size.height));
    const std::string path = PathOf("stretched.jpg");
    ASSERT_TRUE(SaveSurfaceAsJpeg(path, work, shotTemplate, true, size.width, size.height).written);
    const QImage decoded = DecodeJpeg(path);
    ASSERT_EQ(decoded.size(), QSize(150, 90));
    EXPECT_LT(Distance(Mean(decoded, 12, 10, 130, 74), QColor(0x20, 0x50, 0xA0)), 15);
    // The right border, 9 template pixels, covers about 13 image columns.
    const QImage templ = shotTemplate.Picture().scaled(150, 90);
    EXPECT_LT(Distance(Mean(decoded, 137, 10, 149, 74), Mean(templ, 137, 10, 149, 74)), 30);
}

TEST_F(JpegExportTest, ScalingFillsOnlyTheExportRectangle) {
    Surface frame(320, 240);
    frame.Fill(0xFFFFFF);
    Surface work(640, 480);
    EXPECT_FALSE(ScaleToWorkSurface(nullptr, &work, 100, 80));
    EXPECT_FALSE(ScaleToWorkSurface(&frame, nullptr, 100, 80));
    EXPECT_FALSE(ScaleToWorkSurface(&frame, &work, 0, 80));
    EXPECT_FALSE(ScaleToWorkSurface(&frame, &work, 641, 80));
    ASSERT_TRUE(ScaleToWorkSurface(&frame, &work, 100, 80));
    EXPECT_EQ(work.PixelRgb(99, 79), 0xFFFFFFu);
    EXPECT_EQ(work.PixelRgb(100, 40), 0u);
    EXPECT_EQ(work.PixelRgb(40, 80), 0u);
}

TEST(JpegNames, ImageNamesAndReports) {
    EXPECT_EQ(JpegImageName(1), "image0001.jpg");
    EXPECT_EQ(JpegImageName(42), "image0042.jpg");
    EXPECT_EQ(JpegImageName(9999), "image9999.jpg");
    EXPECT_EQ(JpegImageName(10000), "image10000.jpg");
    EXPECT_EQ(JpegExportReport(1, "/web/image0001.jpg"),
              "Jpeg image \"/web/image0001.jpg\" saved.");
    EXPECT_EQ(JpegExportReport(5, "/web/image0005.jpg"), "5 JPEG images have been saved to disk.");
}

TEST_F(JpegExportTest, OutputFolderFollowsTheTargetFile) {
    const std::string folder = dir_.path().toStdString();
    const std::string current = QDir::currentPath().toStdString();
    EXPECT_EQ(JpegOutputFolder(folder), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "/out.html"), folder);
    EXPECT_EQ(JpegOutputFolder(folder + "\\out.html"), folder);
    EXPECT_EQ(JpegOutputFolder("output1.html"), current);
    EXPECT_EQ(JpegOutputFolder(""), current);
    // A folder that does not exist cannot become current.
    EXPECT_EQ(JpegOutputFolder(folder + "/missing/out.html"), current);
    // Relative folders become absolute.
    const QDir here = QDir::current();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    ASSERT_TRUE(QDir().mkdir("web"));
    EXPECT_EQ(JpegOutputFolder("web/out.html"), folder + "/web");
    ASSERT_TRUE(QDir::setCurrent(here.path()));
}

}  // namespace
}  // namespace trevanto

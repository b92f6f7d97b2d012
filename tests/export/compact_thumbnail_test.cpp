#include "export/compact_thumbnail.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace trevanto {
namespace {

TEST(CompactThumbnail, KeepsAFewKilobytesAndComesBackClose) {
    // A busy picture: colour gradients with a grey checker over them, edges
    // in brightness as a video frame has them.
    QImage picture(100, 80, QImage::Format_RGB888);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int checker = ((x / 5 + y / 5) % 2) * 40;
            picture.setPixel(x, y, qRgb(x + checker, y * 2 + checker, 200 - x + checker));
        }
    }
    const CompactThumbnail thumbnail(picture);
    // The picture itself takes 24,000 bytes.
    EXPECT_LT(thumbnail.Bytes(), 8 * 1024);
    const QImage back = thumbnail.Picture();
    ASSERT_EQ(back.size(), picture.size());
    int64_t error = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QRgb a = picture.pixel(x, y), b = back.pixel(x, y);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(error / (100 * 80 * 3), 4);  // mean step per channel
    EXPECT_TRUE(CompactThumbnail(QImage()).IsNull() && CompactThumbnail().Picture().isNull());
}

}  // namespace
}  // namespace trevanto

// The preview shows a frame at its display aspect, with black bars around.
#include <gtest/gtest.h>

#include <QImage>

#include "ui/preview_widget.h"
#include "ui_test_support.h"
#include "video/surface.h"

namespace trevanto {
namespace {

// The rows and columns of the grabbed preview that show the picture (red).
QRect RedArea(const QImage& image) {
    QRect red;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                red |= QRect(x, y, 1, 1);
    return red;
}

TEST(PreviewWidgetTest, KeepsThePicturesDisplayAspectBetweenBlackBars) {
    test::TestApplication();
    struct Case {
        int width, height;
        double pixelAspect;
        QRect picture;  // inside the 200 x 200 contents, which start at (1, 1)
    };
    const Case cases[] = {
        {160, 90, 1.0, QRect(1, 1 + 44, 200, 112)},   // 16:9, square pixels
        {100, 100, 2.0, QRect(1, 1 + 50, 200, 100)},  // wide pixels: 2:1
        {90, 160, 1.0, QRect(1 + 44, 1, 112, 200)},   // upright
    };
    for (const Case& c : cases) {
        PreviewWidget preview;
        preview.resize(202, 202);
        auto frame = std::make_shared<Surface>(c.width, c.height);
        frame->Fill(0xFF0000);
        frame->SetPixelAspect(c.pixelAspect);
        ASSERT_TRUE(preview.Present(frame));
        const QImage shown = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect red = RedArea(shown);
        EXPECT_LE(std::abs(red.top() - c.picture.top()), 1) << c.width << " x " << c.height;
        EXPECT_LE(std::abs(red.height() - c.picture.height()), 1) << c.width << " x " << c.height;
        EXPECT_LE(std::abs(red.left() - c.picture.left()), 1) << c.width << " x " << c.height;
        EXPECT_LE(std::abs(red.width() - c.picture.width()), 1) << c.width << " x " << c.height;
        // The bars are black.
        const QPoint bar = c.picture.top() > 1 ? QPoint(100, 5) : QPoint(5, 100);
        EXPECT_EQ(shown.pixel(bar), qRgb(0, 0, 0)) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace trevanto

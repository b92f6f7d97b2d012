// The frame window's panes and progress bar, and the preview.
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "app/settings_store.h"
#include "desktop_fixture.h"
#include "ui/controls/progress_bar.h"
#include "ui/preview_widget.h"
#include "video/surface.h"

namespace trevanto::test {
namespace {

using WidgetsTest = DesktopTest;

TEST_F(WidgetsTest, FramePanesAndTheProgressBarAfterItsCaption) {
    SettingsStore settings(folder_.File("trevanto.conf"));
    CMainFrame frame(settings);
    frame.UpdateFramePanes(1500, 3000, true, 120.0);
    EXPECT_EQ(frame.PositionLabel()->text(), "00:01:00:0000 / 00:02:00:0000");
    frame.resize(800, 500);
    frame.show();
    frame.UpdateFramePanes(123456, 654321, false, 10.0);
    frame.BeginProgress("Saving");
    QApplication::processEvents();
    EXPECT_EQ(frame.StatusPane(2)->width(), 100);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Saving");
    const QProgressBar* control = frame.Progress()->Control();
    const QFontMetrics metrics(frame.statusBar()->font());
    EXPECT_EQ(control->geometry().left(),
              metrics.horizontalAdvance("Saving") + 4 * metrics.horizontalAdvance(' '));
    EXPECT_EQ(control->geometry().top(), frame.statusBar()->height() / 10);
    frame.resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());
    frame.EndProgress();
    EXPECT_EQ(frame.statusBar()->currentMessage(), "");
    CProgressBar overlong(frame.statusBar(), QString(200, 'W'), 100, 32767, false);
    EXPECT_EQ(overlong.Placement().width(), 0);
}

TEST_F(WidgetsTest, PreviewKeepsTheDisplayAspectBetweenBlackBars) {
    const struct {
        int width, height;
        double pixelAspect;
        QRect picture;  // inside the 200 x 200 contents, which start at (1, 1)
    } cases[] = {{160, 90, 1.0, QRect(1, 45, 200, 112)},
                 {100, 100, 2.0, QRect(1, 51, 200, 100)},
                 {90, 160, 1.0, QRect(45, 1, 112, 200)}};
    for (const auto& c : cases) {
        PreviewWidget preview;
        preview.resize(202, 202);
        auto frame = std::make_shared<Surface>(c.width, c.height);
        frame->Fill(0xFF0000);
        frame->SetPixelAspect(c.pixelAspect);
        ASSERT_TRUE(preview.Present(frame));
        const QImage shown = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QRect red;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == qRgb(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
        const QRect& want = c.picture;
        EXPECT_LE(std::abs(red.top() - want.top()) + std::abs(red.left() - want.left()), 1);
        EXPECT_LE(std::abs(red.width() - want.width()) + std::abs(red.height() - want.height()), 1);
        const QPoint bar = want.top() > 1 ? QPoint(100, 5) : QPoint(5, 100);
        EXPECT_EQ(shown.pixel(bar), qRgb(0, 0, 0)) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace trevanto::test

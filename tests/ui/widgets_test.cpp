// The frame window's panes and progress bar, and the preview's aspect.
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

TEST_F(WidgetsTest, FramePanesTheProgressBarAfterItsCaptionAndThePreviewAspect) {
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
    frame.resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());
    frame.EndProgress();
    // The preview keeps the display aspect between black bars: wide, wide
    // by its pixels' aspect, tall.
    const struct {
        int width, height;
        double pixelAspect;
        QPoint red, black;  // in the 200 x 200 contents, which start at (1, 1)
    } cases[] = {{160, 90, 1.0, {1, 48}, {100, 42}},     // the picture: y 45..156
                 {100, 100, 2.0, {200, 54}, {100, 48}},  // y 51..150
                 {90, 160, 1.0, {48, 200}, {42, 100}}};  // x 45..156
    for (const auto& c : cases) {
        PreviewWidget preview;
        preview.resize(202, 202);
        auto picture = std::make_shared<Surface>(c.width, c.height);
        picture->Fill(0xFF0000);
        picture->SetPixelAspect(c.pixelAspect);
        ASSERT_TRUE(preview.Present(picture));
        const QImage shown = preview.grab().toImage();
        EXPECT_EQ(shown.pixel(c.red), qRgb(255, 0, 0)) << c.width << " x " << c.height;
        EXPECT_EQ(shown.pixel(c.black), qRgb(0, 0, 0)) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace trevanto::test

// The frame window's panes, progress bar and saved layout.
#include "ui/main_frame.h"

#include <QDockWidget>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "ui/controls/progress_bar.h"
#include "ui_test_support.h"

namespace trevanto {
namespace {

class MainFrameTest : public ::testing::Test {
  protected:
    MainFrameTest() { test::TestApplication(); }
    QTemporaryDir folder_;
    SettingsStore settings_{(folder_.path() + "/trevanto.conf").toStdString()};
};

TEST_F(MainFrameTest, FramePanesShowFramesOrTimecodesAndWidenForLargeCounts) {
    CMainFrame frame(settings_);
    frame.UpdateFramePanes(1500, 3000, true, 120.0);
    EXPECT_EQ(frame.StatusPane(1)->text(), "Frame=1500/3000");
    EXPECT_EQ(frame.PositionLabel()->text(), "00:01:00:0000 / 00:02:00:0000");
    frame.UpdateFramePanes(12, 250, false, 10.0);
    EXPECT_EQ(frame.PositionLabel()->text(), "12 / 250");
    frame.UpdateShotCount(7);
    EXPECT_EQ(frame.StatusPane(3)->text(), "TotalShots=7");
    frame.show();
    frame.UpdateFramePanes(123456, 654321, false, 10.0);
    QApplication::processEvents();
    EXPECT_GE(frame.StatusPane(1)->width(), frame.StatusPane(1)->sizeHint().width());
    EXPECT_EQ(frame.StatusPane(2)->width(), 100);
}

TEST_F(MainFrameTest, ProgressBarStandsAfterItsCaptionAndFollowsResizing) {
    CMainFrame frame(settings_);
    frame.resize(800, 500);
    frame.show();
    frame.BeginProgress("Saving");
    ASSERT_TRUE(frame.Progress() != nullptr && frame.Progress()->IsCreated());
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Saving");
    const QProgressBar* control = frame.Progress()->Control();
    const QFontMetrics metrics(frame.statusBar()->font());
    const int left = metrics.horizontalAdvance("Saving") + 4 * metrics.horizontalAdvance(' ');
    EXPECT_EQ(control->geometry().left(), left);
    EXPECT_EQ(control->geometry().top(), frame.statusBar()->height() / 10);
    frame.SetProgress(16000);
    EXPECT_EQ(control->value(), 16000);
    frame.resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());
    frame.EndProgress();
    EXPECT_EQ(frame.statusBar()->currentMessage(), "");

    CProgressBar overlong(frame.statusBar(), QString(200, 'W'), 100, 32767, false);
    EXPECT_EQ(overlong.Placement().width(), 0);
    CProgressBar orphan(nullptr, "Loading", 100, 32767, false);
    EXPECT_FALSE(orphan.IsCreated());
    orphan.SetPos(100);
    orphan.Place();
}

TEST_F(MainFrameTest, LayoutNamingAMissingBarIsIgnored) {
    {
        CMainFrame frame(settings_);
        frame.show();
        frame.addDockWidget(Qt::RightDockWidgetArea, frame.PreviewBar());
        frame.SaveLayout();
        BarLayout layout = *settings_.LoadBarLayout();
        layout.barNames.push_back("ShotBrowserBar");
        settings_.SaveBarLayout(layout);
    }
    CMainFrame again(settings_);
    EXPECT_EQ(again.dockWidgetArea(again.PreviewBar()), Qt::LeftDockWidgetArea);
}

}  // namespace
}  // namespace trevanto

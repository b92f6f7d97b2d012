#include "ui/main_frame.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/settings_store.h"
#include "ui/controls/progress_bar.h"
#include "ui_test_support.h"

namespace trevanto {
namespace {

class MainFrameTest : public ::testing::Test {
  protected:
    MainFrameTest() { test::TestApplication(); }
    std::string SettingsPath() const { return (folder_.path() + "/trevanto.conf").toStdString(); }

    QTemporaryDir folder_;
};

TEST_F(MainFrameTest, ToolbarHasTwelveSlotsWithFiveCheckButtons) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    const QList<QAction*> buttons = frame.ToolBar()->actions();
    ASSERT_EQ(buttons.size(), 12);
    const std::vector<int> ids = {32771, 32772, 32773, 0, 101, 102, 103, 106, 107, 0, 104, 108};
    for (size_t i = 0; i < ids.size(); ++i) {
        const QAction* button = buttons[static_cast<qsizetype>(i)];
        if (ids[i] == 0) {
            EXPECT_TRUE(button->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(button->data().toInt(), ids[i]) << i;
        EXPECT_FALSE(button->icon().isNull()) << i;
        EXPECT_FALSE(button->toolTip().isEmpty()) << i;
        EXPECT_FALSE(button->statusTip().isEmpty()) << i;
        const bool check =
            ids[i] == 32771 || ids[i] == 32772 || ids[i] == 32773 || ids[i] == 106 || ids[i] == 107;
        EXPECT_EQ(button->isCheckable(), check) << i;
    }
    EXPECT_EQ(frame.Action(command::kEngine)->toolTip(), "Start/Stop shot engine");
    EXPECT_EQ(frame.Action(command::kEngine)->statusTip(),
              "Start/Stop the intelligent shot engine");
    EXPECT_EQ(frame.toolBarArea(frame.ToolBar()), Qt::TopToolBarArea);
}

TEST_F(MainFrameTest, CheckButtonSetsOnlyTheFiveCheckButtons) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    frame.CheckButton(command::kPlay, true);
    frame.CheckButton(command::kEngine, true);
    frame.CheckButton(command::kSettings, true);
    EXPECT_TRUE(frame.Action(command::kPlay)->isChecked());
    EXPECT_TRUE(frame.Action(command::kEngine)->isChecked());
    EXPECT_FALSE(frame.Action(command::kSettings)->isChecked());
    frame.CheckButton(command::kPlay, false);
    EXPECT_FALSE(frame.Action(command::kPlay)->isChecked());
}

TEST_F(MainFrameTest, FramePanesShowFramesOrTimecodes) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    frame.UpdateFramePanes(1500, 3000, true, 120.0);
    EXPECT_EQ(frame.StatusPane(1)->text(), "Frame=1500/3000");
    EXPECT_EQ(frame.PositionLabel()->text(), "00:01:00:0000 / 00:02:00:0000");
    frame.UpdateFramePanes(12, 250, false, 10.0);
    EXPECT_EQ(frame.StatusPane(1)->text(), "Frame=12/250");
    EXPECT_EQ(frame.PositionLabel()->text(), "12 / 250");
    frame.UpdateShotCount(7);
    EXPECT_EQ(frame.StatusPane(3)->text(), "TotalShots=7");
    EXPECT_EQ(frame.StatusPane(2)->text(), "");
    frame.show();
    frame.UpdateFramePanes(123456, 654321, false, 10.0);
    QApplication::processEvents();
    for (int pane = 1; pane <= 3; ++pane) {
        const QLabel* label = frame.StatusPane(pane);
        EXPECT_GE(label->width(), 100);
        EXPECT_GE(label->width(), label->sizeHint().width());
    }
    EXPECT_EQ(frame.StatusPane(2)->width(), 100);
}

TEST_F(MainFrameTest, PreviewBarStartsLeftWithItsSliderAndTakesTheFileName) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    EXPECT_EQ(frame.dockWidgetArea(frame.PreviewBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.PreviewBar()->windowTitle(), "Video preview");
    EXPECT_EQ(frame.PreviewBar()->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    const QSlider* slider = frame.NavigationSlider();
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 32767);
    EXPECT_EQ(slider->tickInterval(), 1000);
    frame.SetVideoTitle("clip.mpg");
    EXPECT_EQ(frame.PreviewBar()->windowTitle(), "clip.mpg");
    frame.SetSliderPosition(16000);
    EXPECT_EQ(slider->value(), 16000);
}

TEST_F(MainFrameTest, ViewMenuChecksFollowTheBars) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    frame.show();
    EXPECT_TRUE(frame.Action(command::kViewToolbar)->isChecked());
    EXPECT_TRUE(frame.Action(command::kViewPreview)->isChecked());
    frame.ToolBar()->hide();
    frame.PreviewBar()->hide();
    EXPECT_FALSE(frame.Action(command::kViewToolbar)->isChecked());
    EXPECT_FALSE(frame.Action(command::kViewPreview)->isChecked());
}

TEST_F(MainFrameTest, LayoutIsRestoredAtTheNextStart) {
    SettingsStore settings(SettingsPath());
    {
        CMainFrame frame(settings);
        frame.show();
        frame.addDockWidget(Qt::RightDockWidgetArea, frame.PreviewBar());
        frame.close();
    }
    CMainFrame again(settings);
    EXPECT_EQ(again.dockWidgetArea(again.PreviewBar()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(settings.LoadDockSizes(CMainFrame::kPreviewBarId).has_value());
}

TEST_F(MainFrameTest, LayoutNamingAMissingBarIsIgnored) {
    SettingsStore settings(SettingsPath());
    {
        CMainFrame frame(settings);
        frame.show();
        frame.addDockWidget(Qt::RightDockWidgetArea, frame.PreviewBar());
        frame.SaveLayout();
        // The same layout, saved when the window had one more bar.
        BarLayout layout = *settings.LoadBarLayout();
        layout.barNames.push_back("ShotBrowserBar");
        settings.SaveBarLayout(layout);
    }
    CMainFrame again(settings);
    EXPECT_FALSE(again.RestoreLayout());
    EXPECT_EQ(again.dockWidgetArea(again.PreviewBar()), Qt::LeftDockWidgetArea);
}

TEST_F(MainFrameTest, ProgressBarStandsAfterItsCaptionAndFollowsResizing) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    frame.resize(800, 500);
    frame.show();
    frame.BeginProgress("Saving");
    const CProgressBar* progress = frame.Progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(progress->IsCreated());
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Saving");
    const QProgressBar* control = progress->Control();
    EXPECT_EQ(control->maximum(), 32767);
    const QFontMetrics metrics(frame.statusBar()->font());
    const int left = metrics.horizontalAdvance("Saving") + 4 * metrics.horizontalAdvance(' ');
    EXPECT_EQ(control->geometry().left(), left);
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());
    const int height = frame.statusBar()->height();
    EXPECT_EQ(control->geometry().top(), height / 10);
    frame.SetProgress(16000);
    EXPECT_EQ(control->value(), 16000);

    frame.resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());

    frame.EndProgress();
    EXPECT_EQ(frame.Progress(), nullptr);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "");
}

TEST_F(MainFrameTest, ProgressBarWithAnOverlongCaptionHasNoWidth) {
    SettingsStore settings(SettingsPath());
    CMainFrame frame(settings);
    frame.resize(400, 300);
    frame.show();
    CProgressBar progress(frame.statusBar(), QString(200, 'W'), 100, 32767, false);
    ASSERT_TRUE(progress.IsCreated());
    EXPECT_EQ(progress.Placement().width(), 0);
}

TEST(ProgressBarTest, WithoutAStatusBarNothingIsCreatedAndCallsAreHarmless) {
    test::TestApplication();
    CProgressBar progress(nullptr, "Loading", 100, 32767, false);
    EXPECT_FALSE(progress.IsCreated());
    progress.SetPos(100);
    progress.Place();
    EXPECT_EQ(progress.Pos(), 0);
}

}  // namespace
}  // namespace trevanto

// The desktop program as a whole: opening, the shot engine, the toolbar
// states, the commands of the application object and what outlives a run.
#include <QAction>
#include <QDockWidget>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/command_ids.h"
#include "desktop_fixture.h"
#include "ui/preview_widget.h"

namespace trevanto::test {
namespace {

using DesktopProgramTest = DesktopTest;

TEST_F(DesktopProgramTest, OpeningAClipShowsItsFramesAndNameAndPlays) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    const TestClip& clip = TestClips().front();
    ASSERT_TRUE(app->OpenVideo(MediaPath(clip)));
    EXPECT_EQ(app->Frame().PreviewBar()->windowTitle(), QString::fromStdString(clip.file));
    const QLabel* pane = app->Frame().StatusPane(1);
    ASSERT_TRUE(WaitFor([&] { return pane->text().startsWith("Frame="); }));
    const int32_t count = app->Document().GetPlayer().FrameCount();
    EXPECT_TRUE(pane->text().endsWith(QString("/%1").arg(count))) << pane->text().toStdString();
    EXPECT_TRUE(app->Frame().Preview()->HasFrame());
    EXPECT_TRUE(app->Frame().Action(command::kPlay)->isChecked());
    EXPECT_TRUE(user_.messages.empty());
}

TEST_F(DesktopProgramTest, ACommandLineVideoThatCannotBeOpenedEndsTheStart) {
    auto app = MakeApp();
    EXPECT_FALSE(app->Start(folder_.File("missing.mpg")));
    EXPECT_FALSE(app->Start("movie.mov"));
    EXPECT_EQ(user_.messages.back(), "Apple Quicktime format is not supported.");
}

TEST_F(DesktopProgramTest, ShotEngineFillsTheViewWithCaptionedThumbnails) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    const TestClip& clip = SampleVideo();
    ASSERT_TRUE(app->OpenVideo(MediaPath(clip)));
    app->Frame().Action(command::kStop)->trigger();
    app->Frame().Action(command::kEngine)->trigger();
    EXPECT_TRUE(app->Document().IsSlicing());
    EXPECT_TRUE(app->Frame().Action(command::kEngine)->isChecked());
    ASSERT_TRUE(WaitFor([&] { return !app->Document().IsSlicing(); }));
    EXPECT_FALSE(app->Frame().Action(command::kEngine)->isChecked());

    const CThumbView& view = app->View();
    const int shots = static_cast<int>(clip.cuts.size()) + 1;
    ASSERT_EQ(view.count(), shots);
    EXPECT_EQ(view.ItemCaption(0), FormatCaption(1, 0, clip.cuts[0] - 1));
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, clip.cuts[0], clip.cuts[1] - 1));
    for (int i = 0; i < shots; ++i) {
        EXPECT_EQ(view.ImageOfItem(i), i);
        EXPECT_EQ(view.ItemPicture(i).size(), QSize(100, 80));
    }
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), QString("TotalShots=%1").arg(shots));
}

TEST_F(DesktopProgramTest, ToolbarChecksFollowPlayPauseStopAndTheSlicers) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    CMainFrame& frame = app->Frame();
    const auto checked = [&](int32_t id) { return frame.Action(id)->isChecked(); };

    // No video: the engine button does not stay down and the user is told.
    frame.Action(command::kEngine)->trigger();
    EXPECT_FALSE(checked(command::kEngine));
    EXPECT_EQ(user_.messages.back(), "Please load a movie file first.");

    ASSERT_TRUE(app->OpenVideo(MediaPath(TestClips().front())));
    EXPECT_TRUE(checked(command::kPlay));
    EXPECT_FALSE(checked(command::kPause));
    frame.Action(command::kPause)->trigger();
    EXPECT_TRUE(checked(command::kPause));
    EXPECT_FALSE(checked(command::kPlay));
    frame.Action(command::kPlay)->trigger();
    EXPECT_TRUE(checked(command::kPlay));
    EXPECT_FALSE(checked(command::kPause));

    frame.Action(command::kEngine)->trigger();
    EXPECT_TRUE(checked(command::kEngine));
    EXPECT_FALSE(checked(command::kSampler));
    frame.Action(command::kSampler)->trigger();  // a run is active: it stops
    EXPECT_FALSE(checked(command::kEngine));
    EXPECT_FALSE(checked(command::kSampler));
    frame.Action(command::kSampler)->trigger();
    EXPECT_TRUE(checked(command::kSampler));
    EXPECT_FALSE(checked(command::kEngine));

    frame.Action(command::kStop)->trigger();
    EXPECT_FALSE(checked(command::kPlay));
    EXPECT_FALSE(checked(command::kPause));
    EXPECT_FALSE(checked(command::kSampler));
    EXPECT_FALSE(checked(command::kEngine));
    EXPECT_FALSE(app->Document().IsSlicing());
}

TEST_F(DesktopProgramTest, SpaceTogglesPlayAndPauseWhereverTheFocusIs) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(app->OpenVideo(MediaPath(SampleVideo())));
    QApplication::setActiveWindow(&app->Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->Frame()));
    app->View().setFocus();
    QTest::keyClick(&app->View(), Qt::Key_Space);
    EXPECT_EQ(app->Document().GetPlayer().State(), PlayerState::Paused);
    QTest::keyClick(&app->View(), Qt::Key_Space);
    EXPECT_EQ(app->Document().GetPlayer().State(), PlayerState::Running);
}

TEST_F(DesktopProgramTest, SpaceReachesTheToggleCommandFromTheView) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    QApplication::setActiveWindow(&app->Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->Frame()));
    std::vector<int32_t> commands;
    QObject::connect(&app->Frame(), &CMainFrame::CommandInvoked,
                     [&](int32_t id) { commands.push_back(id); });
    app->View().setFocus();
    QTest::keyClick(&app->View(), Qt::Key_Space);
    EXPECT_EQ(commands, std::vector<int32_t>{command::kTogglePlayPause});
}

TEST_F(DesktopProgramTest, TimecodeWithoutAVideoAsksForOne) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    app->Frame().Action(command::kViewTimecode)->trigger();
    ASSERT_EQ(user_.messages.size(), 1u);
    EXPECT_EQ(user_.messages[0], "Please load a movie file first.");
    EXPECT_FALSE(app->Document().TimecodeMode());
    emit app->Frame().ViewMenu()->aboutToShow();
    EXPECT_FALSE(app->Frame().Action(command::kViewTimecode)->isChecked());
}

TEST_F(DesktopProgramTest, TimecodeWithAVideoRecaptionsAndIsChecked) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    std::string caption;
    ASSERT_TRUE(app->Document().AddShot(SolidPicture(Qt::red), caption, 0, 99));
    app->Frame().Action(command::kViewTimecode)->trigger();
    EXPECT_TRUE(app->Document().TimecodeMode());
    EXPECT_TRUE(app->Frame().Action(command::kViewTimecode)->isChecked());
    EXPECT_EQ(app->View().ItemCaption(0).substr(0, 16), "00:00:00:0000 - ");
}

TEST_F(DesktopProgramTest, HelpAndAboutAnswer) {
    auto app = MakeApp();
    app->OnCommand(CMainFrame::kHelpTopics);
    ASSERT_EQ(user_.messages.size(), 1u);
    EXPECT_EQ(user_.messages[0], "Help file not installed.");
    app->OnCommand(CMainFrame::kAbout);
    ASSERT_EQ(user_.informations.size(), 1u);
    EXPECT_NE(user_.informations[0].find("Trevanto"), std::string::npos);
    EXPECT_NE(user_.informations[0].find("Version 2.1"), std::string::npos);
}

TEST_F(DesktopProgramTest, FileOpenAndDroppedFilesOpenTheVideo) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    user_.videoFile = MediaPath(TestClips().front());
    app->Frame().Action(command::kFileOpen)->trigger();
    EXPECT_TRUE(app->Document().IsOpen());
    EXPECT_EQ(app->Document().GetPlayer().OpenedPath(), *user_.videoFile);

    const std::string dropped = MediaPath(TestClips()[2]);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app->Frame(), &drop);
    EXPECT_EQ(app->Document().GetPlayer().OpenedPath(), dropped);
}

TEST_F(DesktopProgramTest, HistoryRecentFilesAndLayoutSurviveARestart) {
    const std::string clip = MediaPath(TestClips().front());
    {
        auto app = MakeApp();
        ASSERT_TRUE(app->Start());
        ASSERT_TRUE(app->OpenVideo(clip));
        app->UrlHistory() = {{"mms://host/a.wmv", "http://host/b.asx"}, "http://host/b.asx"};
        app->Frame().addDockWidget(Qt::RightDockWidgetArea, app->Frame().PreviewBar());
        app->Frame().close();
    }
    auto again = MakeApp();
    EXPECT_EQ(again->UrlHistory().entries,
              (std::vector<std::string>{"mms://host/a.wmv", "http://host/b.asx"}));
    EXPECT_EQ(again->UrlHistory().current, "http://host/b.asx");
    EXPECT_EQ(again->Settings().RecentFiles(), std::vector<std::string>{clip});
    bool listed = false;
    for (const QAction* action : again->Frame().findChildren<QAction*>()) {
        listed |= action->isVisible() && action->data().toString() == QString::fromStdString(clip);
    }
    EXPECT_TRUE(listed);
    EXPECT_EQ(again->Frame().dockWidgetArea(again->Frame().PreviewBar()), Qt::RightDockWidgetArea);
}

}  // namespace
}  // namespace trevanto::test

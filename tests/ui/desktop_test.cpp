// The desktop program as a whole: opening, toolbar states, the shot engine,
// and what outlives a run.
#include <QAction>
#include <QDockWidget>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QToolBar>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings/settings_store.h"
#include "cli/cli_process.h"
#include "common/text_format.h"
#include "desktop_fixture.h"
#include "shots/score_columns.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/preview_widget.h"
#include "ui/score_graph.h"

namespace trevanto::test {
namespace {

using DesktopProgramTest = DesktopTest;
using namespace command;

// A run goes in segments while the player stays as it was, finds every cut
// and says so; in real time it plays paced.
TEST_F(DesktopProgramTest, OpenedClipPlaysAndTheToolbarFollowsTheSlicers) {
    auto app = MakeApp(true);
    ASSERT_TRUE(app->Start());
    CMainFrame& frame = app->Frame();
    const auto checked = [&](int32_t id) { return frame.Action(id)->isChecked(); };
    const TestClip& clip = SampleVideo();
    user_.file = MediaPath(clip);
    frame.Action(kFileOpen)->trigger();
    // The panes show the new video at once, then its frames.
    EXPECT_EQ(frame.StatusPane(1)->text(), QString("Frame=0/%1").arg(clip.frameCount));
    EXPECT_TRUE(WaitFor([&] { return frame.Preview()->HasFrame(); }));
    EXPECT_TRUE(checked(kPlay) && checked(kRateNormal));
    frame.Action(kRateHalf)->trigger();
    EXPECT_TRUE(checked(kRateHalf) && !checked(kRateNormal));
    frame.Action(kRateHalf)->trigger();  // chosen again: stays checked
    EXPECT_TRUE(checked(kRateHalf));
    ASSERT_TRUE(app->Document().Playback().SetPlayRange(10, -1));  // the slider draws the mark
    EXPECT_EQ(frame.NavigationSlider()->StartMark(), 10 * 32767 / clip.frameCount);
    EXPECT_EQ(frame.NavigationSlider()->EndMark(), -1);
    app->Document().Playback().SetPlayRange(-1, -1);
    frame.Action(kPause)->trigger();
    EXPECT_TRUE(checked(kPause) && !checked(kPlay));
    frame.Action(kSampler)->trigger();
    EXPECT_TRUE(checked(kSampler) && !checked(kEngine));
    frame.Action(kEngine)->trigger();  // a run is active: it stops
    EXPECT_FALSE(checked(kEngine) || checked(kSampler));

    frame.Action(kStop)->trigger();
    const Player& player = app->Document().GetPlayer();
    frame.Action(kEngine)->trigger();
    EXPECT_TRUE(checked(kEngine) && player.State() == PlayerState::Stopped);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().Slicing().IsRunning(); }));
    EXPECT_FALSE(checked(kEngine));
    EXPECT_TRUE(player.Paced());
    const CThumbView& view = app->View();
    const int shots = static_cast<int>(clip.cuts.size()) + 1;
    ASSERT_EQ(view.count(), shots);
    EXPECT_EQ(view.ItemCaption(1),
              FormatText("shot 0002 ( %d - %d )", clip.cuts[0], clip.cuts[1] - 1));
    EXPECT_EQ(view.ItemPicture(shots - 1).size(), QSize(100, 80));
    EXPECT_EQ(frame.StatusPane(3)->text(), QString("TotalShots=%1").arg(shots));
    EXPECT_TRUE(frame.StatusPane(2)->text().startsWith(QString("%1 shots found in ").arg(shots)));
    EXPECT_TRUE(user_.messages.empty());

    // The toolbar catches up with the run's end on the next turn of the loop.
    ASSERT_TRUE(WaitFor([&] { return frame.Action(kSliceInRealTime)->isEnabled(); }));
    frame.Action(kSliceInRealTime)->trigger();
    EXPECT_TRUE(checked(kSliceInRealTime) && app->Settings().SliceInRealTime());
    frame.Action(kEngine)->trigger();
    EXPECT_TRUE(app->Document().Slicing().IsRunning() && player.Paced());
}

// Escape ends a run, keeping its shots; outside a run it is left to the widgets.
TEST_F(DesktopProgramTest, EscapeStopsARun) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, MediaPath("clip_mpeg1.mpg")));
    CMainFrame& frame = app->Frame();
    QAction* escape = nullptr;
    for (QAction* action : frame.actions())
        if (action->shortcut() == QKeySequence(Qt::Key_Escape))
            escape = action;
    ASSERT_TRUE(escape != nullptr);
    EXPECT_FALSE(escape->isEnabled());
    app->Document().Slicing().SetSegmentFrames(1);
    frame.Action(kEngine)->trigger();
    frame.EnableCommands(app->View().CommandSnapshot());
    ASSERT_TRUE(escape->isEnabled() && app->Document().Slicing().IsRunning());
    escape->trigger();
    EXPECT_FALSE(app->Document().Slicing().IsRunning());
}

// The frame on show when a run starts is the first of its first shot, in the
// desktop as in trevanto-cli, which slices from its start mark.
TEST_F(DesktopProgramTest, ARunStartsOnTheFrameOnShowAsInTrevantoCli) {
    const std::string clip = MediaPath("clip_mpeg1.mpg");
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, clip));
    CPlayerDoc& doc = app->Document();
    const Player& player = doc.GetPlayer();
    for (const int start : {0, 57}) {
        app->OnCommand(kPause);
        doc.Playback().SeekToFrame(start);
        ASSERT_TRUE(
            WaitFor([&] { return !player.SeekIssued() && player.CurrentFrame() == start; }));
        const int32_t before = doc.ShotCount();
        app->Frame().Action(kEngine)->trigger();
        ASSERT_TRUE(WaitFor([&] { return !doc.Slicing().IsRunning(); }));
        std::string desktop;
        for (int32_t i = before; i < doc.ShotCount(); ++i)
            desktop +=
                FormatText("%d-%d ", doc.Shots().At(i)->startFrame, doc.Shots().At(i)->endFrame);
        const CliResult cli = RunCli({"slice", clip, "--start", std::to_string(start), "--quiet"});
        ASSERT_EQ(cli.status, 0) << cli.err;
        std::string command;
        std::istringstream lines(cli.out);
        for (int number = 0, first = 0, last = 0; lines >> number >> first >> last;
             lines.ignore(1000, '\n'))
            command += FormatText("%d-%d ", first, last);
        EXPECT_EQ(desktop, command) << start;
        EXPECT_TRUE(desktop.starts_with(std::to_string(start) + "-")) << desktop;
    }
}

// Opening another video from the recent files while shots are saved as JPEG
// images asks first: a No keeps the export going and the recent files as they
// were. (A Yes, and what it says: tests/app doc_fake_graph_tests.)
TEST_F(DesktopProgramTest, OpeningAnotherVideoDuringAnExportAsksFirst) {
    const std::string clip = MediaPath("clip_mpeg1.mpg"), other = MediaPath("clip_mpeg2.mpg");
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, other) && OpenPaused(*app, clip));
    CPlayerDoc& doc = app->Document();
    for (int32_t i = 0; i < 3; ++i) {
        doc.Playback().SeekToFrame(i * 50);
        ASSERT_TRUE(WaitFor([&] { return !doc.GetPlayer().SeekIssued(); }));
        doc.Editing().InsertShot();
    }
    ASSERT_TRUE(doc.JpegExport().ExtractAsJpeg({0, 1, 2}, folder_.Path()));
    user_.yes = false;
    emit app->Frame().RecentFileChosen(QString::fromStdString(other));
    EXPECT_TRUE(doc.FrameChainRunning());
    EXPECT_EQ(doc.GetPlayer().OpenedPath(), clip);
    EXPECT_EQ(app->Settings().RecentFiles(), (std::vector<std::string>{clip, other}));
    EXPECT_EQ(user_.questions,
              std::vector<std::string>{"Stop saving the JPEG images and open clip_mpeg2.mpg?"});
    EXPECT_TRUE(user_.messages.empty());
}

TEST_F(DesktopProgramTest, ADroppedFileOpensAndItAndTheLayoutSurviveARestart) {
    const std::string clip = MediaPath(TestClips().front());
    {
        auto app = MakeApp();
        ASSERT_TRUE(app->Start());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(clip))});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&app->Frame(), &enter);
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&app->Frame(), &drop);
        ASSERT_EQ(app->Document().GetPlayer().OpenedPath(), clip);
        // A clip without sound; the sound's settings outlive the run.
        EXPECT_EQ(app->Frame().findChild<QLabel*>("statusPane0")->text(), "No sound");
        app->Frame().Action(kMute)->trigger();
        app->Frame().Action(kVolumeDown)->trigger();  // unmutes
        app->Frame().Action(kMute)->trigger();
        app->Frame().addDockWidget(Qt::RightDockWidgetArea, app->Frame().PreviewBar());
        app->Frame().PreviewBar()->SetSizes({{200, 200}, {220, 220}, {300, 250}});
        app->Frame().close();
    }
    {  // a bar narrower than its minimum is stored
        SettingsStore stored(folder_.File("trevanto.conf"));
        DockSizes sizes = stored.LoadDockSizes(CMainFrame::kPreviewBarId, {});
        EXPECT_EQ(QSize(sizes.sizeFloatCX, sizes.sizeFloatCY), QSize(300, 250));
        sizes.sizeVertCX = 10;
        stored.SaveDockSizes(CMainFrame::kPreviewBarId, sizes);
        stored.Sync();
    }
    auto again = MakeApp();
    EXPECT_EQ(again->Frame().PreviewBar()->Sizes().vert.width(), 33);
    EXPECT_EQ(again->Frame().PreviewBar()->Sizes().floating, QSize(300, 250));
    EXPECT_EQ(again->Settings().RecentFiles(), std::vector<std::string>{clip});
    EXPECT_EQ(again->Frame().dockWidgetArea(again->Frame().PreviewBar()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(again->Frame().Action(kMute)->isChecked());
    EXPECT_EQ(again->Settings().SoundVolume(), 90);
    EXPECT_EQ(again->Frame().VolumeSlider()->value(), 90);
    again->Frame().VolumeSlider()->setValue(35);  // as a drag of the toolbar's slider
    EXPECT_EQ(again->Settings().SoundVolume(), 35);
    EXPECT_FALSE(again->Frame().Action(kMute)->isChecked());
    EXPECT_TRUE(user_.messages.empty());
}

// A blue template whose green window (10,10)-(89,69) lets the frame through.
std::string WriteTemplate(const std::string& path, int width) {
    QImage picture(width, 80, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (int y = 10; y < 70; ++y) {
        for (int x = 10; x < 90; ++x)
            picture.setPixel(x, y, qRgb(0, 255, 0));
    }
    EXPECT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
    return path;
}

TEST_F(DesktopProgramTest, AChosenTemplateFramesLaterShotsAndOutlivesARestart) {
    const std::string clip = MediaPath(TestClips().front());
    const auto insertShot = [&](CTrevantoApp& app) {
        const int count = app.View().count();
        app.OnCommand(kInsertShot);
        EXPECT_EQ(app.View().count(), count + 1);
        return app.View().ItemPicture(app.View().count() - 1);
    };
    const QRgb blue = qRgb(0, 0, 255);
    QImage builtIn;
    {
        auto app = MakeApp();
        ASSERT_TRUE(OpenPaused(*app, clip));
        builtIn = insertShot(*app);
        user_.templateChoice = {WriteTemplate(folder_ / "framed.bmp", 100), 0x00FF00};
        app->OnCommand(kOpenBitmapTemplate);
        const QImage framed = insertShot(*app);
        EXPECT_TRUE(NearColour(framed.pixel(1, 1), blue));
        EXPECT_EQ(framed.pixel(50, 40), builtIn.pixel(50, 40));  // the frame shows through
        EXPECT_FALSE(NearColour(app->View().ItemPicture(0).pixel(1, 1), blue));
    }
    auto again = MakeApp();
    ASSERT_TRUE(OpenPaused(*again, clip));
    EXPECT_TRUE(NearColour(insertShot(*again).pixel(1, 1), blue));
    const std::string wide = WriteTemplate(folder_ / "wide.bmp", 101);
    user_.templateChoice = {wide, std::nullopt};
    again->OnCommand(kOpenBitmapTemplate);
    EXPECT_EQ(user_.messages, std::vector<std::string>{wide + " is not a 100 x 80 picture."});
    const QImage bare = insertShot(*again);
    EXPECT_NE(bare.pixel(1, 1), blue);
    EXPECT_NE(bare.pixel(1, 1), builtIn.pixel(1, 1));
    EXPECT_EQ(again->Settings().TemplateFile(), std::nullopt);  // the next start: built-in
}

// The score graph: the threshold line dragged to the top and let go cuts
// again into one shot; a click goes to the frame under it.
TEST_F(DesktopProgramTest, ScoreGraphCutsAgainAndSeeks) {
    auto app = MakeApp();
    app->Frame().show();
    ASSERT_TRUE(OpenPaused(*app, MediaPath(*FindTestClip("clip_mpeg2.mpg"))));  // 150 frames
    app->Document().Slicing().StartEngine();
    ASSERT_TRUE(WaitFor([&] { return !app->Document().Slicing().IsRunning(); }));
    app->OnCommand(kPause);
    CScoreGraph& graph = app->ScoreGraph();
    const QRect plot = ScorePlotArea(graph.rect());
    const int x = plot.center().x();
    QTest::mousePress(&graph, Qt::LeftButton, {}, {x, YOfScore(15, ScaleTop(graph.State()), plot)});
    QTest::mouseMove(&graph, {x, plot.top()});
    EXPECT_TRUE(graph.State().dragging);
    user_.recutAnswer = DesktopUserPort::RecutAnswer::ReplaceAll;
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, {x, plot.top()});
    EXPECT_EQ(user_.questions.back().rfind("Cut the video again at threshold", 0), 0u);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); }));
    EXPECT_EQ(app->Document().ShotCount(), 1);
    QTest::mouseClick(&graph, Qt::LeftButton, {}, {x, plot.bottom()});
    const int32_t frame = FrameOfColumn(x - plot.left(), 150, plot.width());
    EXPECT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == frame; }));
}

}  // namespace
}  // namespace trevanto::test

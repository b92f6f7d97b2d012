// Finding a frame (the slider's keys, the Media menu's steps, "Go to
// frame..."), what the preview shows after shots of another video are
// loaded, menus and toolbar that show the state of now, and the window on
// the screen: its first size, its place across restarts, the preview's share
// and the hint of the empty shot list.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QToolBar>

#include <filesystem>

#include "clipgen/frame_code.h"
#include "desktop_fixture.h"
#include "picture/surface.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/preview_widget.h"
#include "ui/window_placement.h"

namespace trevanto::test {
namespace {

using namespace command;

class FrameWindowTest : public DesktopTest {
  protected:
    // Waits until the frame shown, its number drawn in it, the slider and the
    // position label are `frame`.
    ::testing::AssertionResult Shows(CTrevantoApp& app, int frame) {
        const Player& player = app.Document().GetPlayer();
        const auto& shown = app.Frame().Preview()->Frame();
        const auto label = [&] { return app.Frame().PositionLabel()->text(); };
        const auto right = [&] {
            const int count = player.FrameCount();
            return shown && ReadFrameCode(*shown) == frame && player.CurrentFrame() == frame &&
                   label() == QString("%1 / %2").arg(frame).arg(count) &&
                   app.Frame().NavigationSlider()->GetPos() == frame * 32767 / count;
        };
        if (WaitFor(right))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "frame " << player.CurrentFrame() << " shown as "
               << (shown ? ReadFrameCode(*shown) : -1) << ", label " << label().toStdString();
    }
};

TEST_F(FrameWindowTest, KeysAndMediaCommandsStepExactlyOneFrameAndGoToTheFrameAsked) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    const TestClip& clip = TestClips().front();
    ASSERT_TRUE(OpenPaused(*app, MediaPath(clip)));
    CMySliderCtrl& slider = *app->Frame().NavigationSlider();
    slider.setFocus();
    const auto release = [&](Qt::Key key) {
        QTest::keyPress(&slider, key);
        QTest::keyRelease(&slider, key);
    };
    const int second = static_cast<int>(std::lround(clip.framesPerSecond));
    const struct {
        Qt::Key key;
        int frame;
    } keys[] = {{Qt::Key_Right, 1},
                {Qt::Key_Right, 2},
                {Qt::Key_Right, 3},
                {Qt::Key_Left, 2},
                {Qt::Key_End, clip.frameCount - 1},
                {Qt::Key_Home, 0},
                {Qt::Key_PageDown, second},
                {Qt::Key_PageUp, 0},
                {Qt::Key_Left, 0}};
    for (const auto& k : keys) {
        release(k.key);
        EXPECT_TRUE(Shows(*app, k.frame)) << k.key;
    }
    // Quick presses go on from the frame asked last, whether it came or not.
    release(Qt::Key_Right);
    release(Qt::Key_Right);
    EXPECT_TRUE(Shows(*app, 2));

    // The Media menu's steps (keys: keyboard_views_test), and "Go to frame...".
    app->View().setFocus();
    app->Frame().Action(kNextFrame)->trigger();
    EXPECT_TRUE(Shows(*app, 3));
    app->Frame().Action(kPreviousFrame)->trigger();
    EXPECT_TRUE(Shows(*app, 2));
    user_.frameNumber = 17;
    app->Frame().Action(kGoToFrame)->trigger();
    EXPECT_TRUE(Shows(*app, 17));
    // A playing video stops on the next frame.
    app->OnCommand(kPlay);
    app->OnCommand(kNextFrame);
    EXPECT_EQ(app->Document().GetPlayer().State(), PlayerState::Paused);
    // A run owns the frames: no step meanwhile.
    app->OnCommand(kEngine);
    EXPECT_FALSE(app->Document().Playback().StepFrame(DocumentPlayback::FrameStep::Next));
}

// Shots of another video load: the preview, the slider and the position label
// show its frames, not the frame the previous video stood on.
TEST_F(FrameWindowTest, ShotsOfAnotherVideoShowThatVideosFrame) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    const TestClip& other = TestClips().front();
    ASSERT_TRUE(OpenPaused(*app, MediaPath(other)));
    app->OnCommand(kInsertShot);
    ASSERT_TRUE(WaitFor([&] { return app->View().count() == 1; }));
    user_.file = folder_.File("other.hpv");
    app->OnCommand(kSaveShots);
    ASSERT_TRUE(std::filesystem::exists(*user_.file)) << ::testing::PrintToString(user_.messages);
    app->View().DeleteAllItems();
    app->Document().Editing().ClearShots();

    ASSERT_TRUE(OpenPaused(*app, MediaPath(TestClips().at(2))));
    app->Document().Playback().GoToFrame(30);
    ASSERT_TRUE(Shows(*app, 30));
    app->OnCommand(kLoadShots);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); }));
    ASSERT_EQ(app->Document().GetPlayer().OpenedPath(), MediaPath(other))
        << ::testing::PrintToString(user_.messages);
    EXPECT_TRUE(Shows(*app, 0));
}

// The File menu, the toolbar and the other menus show each command as it can
// be chosen now, whichever menu was opened before.
TEST_F(FrameWindowTest, EveryMenuAndTheToolbarShowTheStateOfNow) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    CMainFrame& frame = app->Frame();
    QAction* exportList = frame.Action(kExportShotList);
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    app->OnCommand(kInsertShot);
    ASSERT_EQ(app->View().count(), 1);
    emit frame.FileMenu()->aboutToShow();
    EXPECT_TRUE(exportList->isEnabled());
    // Edit > Undo names the edit; undone and redone, the thumbnail is the
    // same to the pixel (the view's JPEG bytes kept, not encoded again).
    EXPECT_EQ(frame.Action(kUndo)->text(), "&Undo Insert shot");
    EXPECT_TRUE(frame.Action(kUndo)->isEnabled());
    const QImage inserted = app->View().Thumbnail(0);
    app->OnCommand(kUndo);
    EXPECT_EQ(app->View().count(), 0);
    app->OnCommand(kRedo);
    ASSERT_EQ(app->View().count(), 1);
    EXPECT_EQ(app->View().Thumbnail(0), inserted);

    // A run greys Publish on the toolbar with no menu opened, and its end
    // brings it back.
    QAction* publish = frame.Action(kPublish);
    frame.Action(kEngine)->trigger();
    ASSERT_TRUE(app->Document().Slicing().IsRunning());
    EXPECT_TRUE(WaitFor([&] { return !publish->isEnabled(); }));
    ASSERT_TRUE(WaitFor([&] { return !app->Document().Slicing().IsRunning(); }));
    EXPECT_TRUE(WaitFor([&] { return publish->isEnabled(); }));
}

TEST(MainWindowGeometry, ASavedPlaceIsKeptOnlyWhereItStillFitsAScreen) {
    const QRect primary(0, 0, 933, 570);  // 1400 x 900 at a scale of 1.5, less a panel
    const QRect second(933, 0, 1920, 1080);
    const QList<QRect> screens = {primary, second};
    const QRect fitted(70, 43, 793, 484);  // 85 % of the primary, centred
    const struct {
        std::optional<QRect> saved;
        QRect placed;
    } cases[] = {
        {std::nullopt, fitted},
        {QRect(10, 20, 800, 500), QRect(10, 20, 800, 500)},
        {QRect(1000, 100, 1500, 960), QRect(1000, 100, 1500, 960)},  // on the second screen
        {QRect(0, 0, 1500, 960), fitted},     // larger than the screen it was on
        {QRect(-3000, 0, 800, 500), fitted},  // on a screen no longer there
        {QRect(900, 10, 300, 200), fitted},   // across two screens
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainWindowGeometry(c.saved, screens, primary), c.placed);
}

TEST_F(FrameWindowTest, TheFirstWindowFitsTheScreenAndItsPlaceOutlivesARestart) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        CTrevantoApp app(AppOptions{folder_.File("trevanto.conf"), {}, &user_, false});
        ASSERT_TRUE(app.Start());
        CMainFrame& frame = app.Frame();
        EXPECT_TRUE(screen.contains(frame.geometry()));
        // The video gets a useful share of the window.
        ASSERT_TRUE(WaitFor([&] { return frame.PreviewBar()->width() > 0; }));
        EXPECT_GE(frame.PreviewBar()->width() * 100, frame.width() * 38);
        // The empty shot list says what to do.
        const QImage empty = app.View().viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < empty.height(); ++y) {
            for (int x = 0; x < empty.width(); ++x)
                dark += qGray(empty.pixel(x, y)) < 160;
        }
        EXPECT_GT(dark, 50);
        EXPECT_TRUE(
            CThumbView::EmptyHint().contains("Open a video (Ctrl+O) and start the shot "
                                             "engine (Ctrl+E)"));
        frame.setGeometry(screen.x() + 30, screen.y() + 40, 500, 400);
        frame.close();
    }
    CTrevantoApp again(AppOptions{folder_.File("trevanto.conf"), {}, &user_, false});
    EXPECT_EQ(again.Frame().geometry(), QRect(screen.x() + 30, screen.y() + 40, 500, 400));
}

}  // namespace
}  // namespace trevanto::test

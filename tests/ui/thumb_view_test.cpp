// The shot thumbnail view: its context menus, the questions it asks, and
// the commands on the shots it shows.
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include "common/paths.h"
#include "desktop_fixture.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/desktop_commands.h"
#include "ui/preview_widget.h"

namespace trevanto::test {
namespace {

using namespace command;

class ThumbViewTest : public DesktopTest {
  protected:
    // Four shots [0-99] .. [300-399] of the sample, each of its own colour.
    void SetUp() override {
        app = MakeApp();
        ASSERT_TRUE(app->Start() && OpenPaused(*app, MediaPath(SampleVideo())));
        const Qt::GlobalColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int i = 0; i < 4; ++i) {
            std::string caption;
            ASSERT_TRUE(
                app->Document().AddShot(SolidPicture(colours[i]), caption, i * 100, i * 100 + 99));
        }
    }
    // Selects the items; a context menu on the last one makes it the hit item.
    std::unique_ptr<QMenu> Select(const std::vector<int>& items) {
        CThumbView& view = app->View();
        view.clearSelection();
        for (int item : items)
            view.item(item)->setSelected(true);
        return view.MakeContextMenu(view.visualItemRect(view.item(items.back())).center());
    }

    std::unique_ptr<CTrevantoApp> app;
};

TEST_F(ThumbViewTest, ContextMenusFollowTheRulesAndDeletingAsks) {
    CThumbView& view = app->View();
    EXPECT_EQ(Select({1, 2})->title(), "Shot menu");
    app->Document().Slicing().StartEngine();
    auto menu = view.MakeContextMenu({view.viewport()->width() - 5, view.viewport()->height() - 5});
    EXPECT_EQ(menu->title() + menu->actions()[0]->text(), "Shots menu&Stop shot-engine");
    // The main window's Shots menu follows the same rules, and so does the dispatch.
    emit app->Frame().ShotsMenu()->aboutToShow();
    EXPECT_FALSE(app->Frame().Action(kDeleteShots)->isEnabled());
    app->OnCommand(kDeleteShots);
    EXPECT_EQ(app->Document().ShotCount(), 4);
    menu->actions()[0]->trigger();
    EXPECT_FALSE(app->Document().Slicing().IsRunning());

    Select({1});
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(user_.confirmations.back(),
              "You are about to delete shot 0002 ( 100 - 199 ). Proceed ?");
    ASSERT_EQ(view.count(), 3);
    EXPECT_TRUE(NearColour(view.ItemPicture(1).pixel(50, 40), QColor(Qt::blue).rgb()));  // moved up
    EXPECT_EQ(view.ItemCaption(1), "shot 0002 ( 100 - 299 )");
    user_.tickDoNotShow = true;
    user_.confirm = false;
    Select({0, 2});
    app->OnCommand(kDeleteShot);
    EXPECT_EQ(user_.confirmations.back(), "You are about to delete 2 shot items. Proceed ?");
    app->OnCommand(kDeleteShot);  // not asked again
    ASSERT_EQ(std::pair(user_.confirmations.size(), view.count()), std::pair(size_t{2}, 1));
    user_.yes = false;
    view.selectAll();
    view.DeleteSelected();  // every shot: always a Yes/No question
    EXPECT_EQ(user_.questions.back(), "You are about to delete 1 shot items. Proceed ?");
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=1");
}

TEST_F(ThumbViewTest, MergeGoToAndClosingAskOrAct) {
    CThumbView& view = app->View();
    Select({1, 2});
    app->OnCommand(kMerge);
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Merge these 2 shot items ?"});
    EXPECT_EQ(view.ItemCaption(1), "shot 0002 ( 100 - 299 )");
    ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); }));
    Select({1});
    app->OnCommand(kGoToMiddle);
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 199; }));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                       view.visualItemRect(view.item(2)).center());
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 300; }));
    user_.questions.clear();
    EXPECT_FALSE(app->Frame().close());  // Cancel
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Save the shots before closing?"});
    user_.saveAnswer = DesktopUserPort::SaveAnswer::Save;
    user_.file = folder_.File("kept.hpv");
    EXPECT_TRUE(app->Frame().close());
    EXPECT_TRUE(FileExists(*user_.file));
}

// Frame and timecode captions show whole, in two lines where one is too
// short, and as the tooltip.
TEST_F(ThumbViewTest, CaptionsShowWholeInTheirCellsAndAsTooltips) {
    CThumbView& view = app->View();
    const QFontMetrics metrics(view.font());
    const auto allShown = [&](const char* mode) {
        QApplication::processEvents();
        for (int i = 0; i < view.count(); ++i) {
            const QString caption = QString::fromStdString(view.ItemCaption(i));
            const QRect room = view.CaptionRect(i);
            const QRect needed = metrics.boundingRect(
                room, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption);
            EXPECT_TRUE(room.contains(needed))
                << mode << " " << caption.toStdString() << " needs " << needed.width() << " x "
                << needed.height() << " in " << room.width() << " x " << room.height();
            EXPECT_EQ(view.item(i)->toolTip(), caption);
        }
    };
    allShown("frames");
    const int frameCells = view.CellSize().width();
    app->OnCommand(kViewTimecode);
    ASSERT_EQ(view.ItemCaption(0).find("00:00:00:0000"), 0U);
    allShown("timecodes");
    app->OnCommand(kViewTimecode);
    allShown("frames again");
    EXPECT_EQ(view.CellSize().width(), frameCells);  // back to the narrower cells
}

TEST_F(ThumbViewTest, EveryCommandRunsOnTheHitShotAndARefusingUserKeepsTheShots) {
    user_.yes = user_.confirm = false;
    for (const DesktopCommand& command : DesktopCommands()) {
        if (command.id == kSampler || command.id == kEngine || command.id == kShotsStartEngine ||
            command.id == kCloseVideo)
            continue;  // the slicers have their own tests; closing comes last
        Select({1});
        QTimer::singleShot(0, [] {  // a command's own dialog is cancelled
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        app->OnCommand(command.id);
        ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); })) << command.text;
    }
    CMainFrame& frame = app->Frame();
    emit frame.ViewMenu()->aboutToShow();
    // Two shots inserted at frame 0, one split off at the frame on show, none
    // deleted or merged, the window kept.
    EXPECT_EQ(app->View().count(), 7);
    EXPECT_TRUE(frame.isVisible() && frame.ToolBar()->isHidden() && frame.PreviewBar()->isHidden());
    EXPECT_FALSE(frame.Action(kViewToolbar)->isChecked() ||
                 frame.Action(kViewPreview)->isChecked());
    EXPECT_TRUE(frame.Action(kViewTimecode)->isChecked());
    EXPECT_EQ(user_.messages.at(0), "Help file not installed.");
    EXPECT_TRUE(frame.PreviewFullScreen());  // F11 put the video on the whole screen
    frame.TogglePreviewFullScreen();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, {1, 5}, {}, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(frame.NavigationSlider(), &click);  // the bar is hidden
    }
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() != 100; }));
    // "Close video" closes the video; its shots stay.
    app->OnCommand(kCloseVideo);
    EXPECT_FALSE(app->Document().IsOpen());
    EXPECT_EQ(frame.windowTitle(), "Trevanto");
    EXPECT_FALSE(frame.Preview()->HasFrame());
    EXPECT_EQ(app->View().count(), 7);
    const std::string missing = folder_.File("gone.avi");
    frame.SetRecentFiles({missing});
    for (QAction* recent : frame.findChildren<QAction*>()) {
        if (recent->data().toString() == QString::fromStdString(missing))
            recent->trigger();
    }
    // A recent file that no longer opens leaves the list.
    for (QAction* recent : frame.findChildren<QAction*>())
        EXPECT_NE(recent->data().toString(), QString::fromStdString(missing));
    app->ShowWindow();  // a clip handed over: not a shots file by its first line
    EXPECT_TRUE(app->OpenDocument(MediaPath(SampleVideo())) && frame.isVisible());
}

}  // namespace
}  // namespace trevanto::test

// The shot thumbnail view: its context menus, the questions it asks, and
// the commands on the shots it shows.
#include <QLabel>
#include <QMenu>

#include <cstdio>

#include "app/jpeg_export_commands.h"
#include "app/shots_file_commands.h"
#include "common/paths.h"
#include "desktop_fixture.h"

namespace trevanto::test {
namespace {

using namespace command;

class ThumbViewTest : public DesktopTest {
  protected:
    // Four shots [0-99] .. [300-399] of the sample, each of its own colour.
    std::unique_ptr<CTrevantoApp> AppWithFourShots() {
        auto app = MakeApp();
        EXPECT_TRUE(app->Start() && OpenPaused(*app, MediaPath(SampleVideo())));
        const Qt::GlobalColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int i = 0; i < 4; ++i) {
            std::string caption;
            EXPECT_TRUE(
                app->Document().AddShot(SolidPicture(colours[i]), caption, i * 100, i * 100 + 99));
        }
        return app;
    }
    // Selects the items; a context menu on the last one makes it the hit item.
    static std::unique_ptr<QMenu> Select(CThumbView& view, const std::vector<int>& items) {
        view.clearSelection();
        for (int item : items)
            view.item(item)->setSelected(true);
        return view.MakeContextMenu(view.visualItemRect(view.item(items.back())).center());
    }
    static std::vector<bool> Enabled(const QMenu& menu) {
        std::vector<bool> states;
        for (const QAction* action : menu.actions())
            if (!action->isSeparator())
                states.push_back(action->isEnabled());
        return states;
    }
    static QRgb Colour(const CThumbView& view, int item) {
        return view.ItemPicture(item).pixel(50, 40);
    }
};

TEST_F(ThumbViewTest, ContextMenusShowTheRulesAndRunTheChosenCommand) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    auto menu = Select(view, {1, 2});
    EXPECT_EQ(menu->title(), "Shot menu");
    EXPECT_EQ(Enabled(*menu),
              (std::vector<bool>{true, true, true, true, false, false, false, true, true, true}));
    app->Document().StartEngine();
    menu = view.MakeContextMenu({view.viewport()->width() - 5, view.viewport()->height() - 5});
    EXPECT_EQ(menu->title(), "Shots menu");
    EXPECT_EQ(menu->actions()[0]->text(), "&Stop shot-engine");
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{true, false, false, false, false}));
    // The main window's Shots menu follows the same rules, and so does the dispatch.
    emit app->Frame().ShotsMenu()->aboutToShow();
    EXPECT_FALSE(app->Frame().Action(kDeleteShots)->isEnabled());
    app->OnCommand(kDeleteShots);
    EXPECT_EQ(app->Document().ShotCount(), 4);
    menu->actions()[0]->trigger();
    EXPECT_FALSE(app->Document().IsSlicing());

    int32_t image = -1, item = -1;
    EXPECT_FALSE(view.AddThumbnail(QImage(), "none", image, item));
    view.SetCurrentImage(4);
    EXPECT_FALSE(view.ReplaceImage(SolidPicture(Qt::blue)));
    EXPECT_FALSE(view.DeleteItemAndImage(0, -1));
}

TEST_F(ThumbViewTest, DeletingAsksWithCaptionOrCountAndMovesLaterPicturesUp) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    Select(view, {1});
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(user_.confirmations.back(),
              "You are about to delete shot 0002 ( 100 - 199 ). Proceed ?");
    ASSERT_EQ(view.count(), 3);
    EXPECT_EQ(Colour(view, 1), QColor(Qt::blue).rgb());
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 100, 299));
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=3");

    user_.tickDoNotShow = true;
    user_.confirm = false;
    Select(view, {0, 2});
    app->OnCommand(kDeleteShot);
    EXPECT_EQ(user_.confirmations.back(), "You are about to delete 2 shot items. Proceed ?");
    EXPECT_EQ(view.count(), 3);
    app->OnCommand(kDeleteShot);  // not asked again
    EXPECT_EQ(user_.confirmations.size(), 2u);
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(view.ItemCaption(0), FormatCaption(1, 0, 299));

    user_.yes = false;
    view.selectAll();
    view.DeleteSelected();  // every shot: always a Yes/No question
    EXPECT_EQ(user_.questions.back(), "You are about to delete 1 shot items. Proceed ?");
    user_.yes = true;
    emit app->Frame().ShotsMenu()->aboutToShow();
    app->Frame().Action(kDeleteShots)->trigger();
    EXPECT_EQ(app->Document().ShotCount(), 0);
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=0");
}

TEST_F(ThumbViewTest, MergingAsksAndSavedShotsComeBackFromAFileKnownByItsFirstLine) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    user_.yes = false;
    Select(view, {1, 2, 3});
    app->OnCommand(kMerge);
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Merge these 3 shot items ?"});
    user_.yes = true;
    app->OnCommand(kMerge);
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 100, 399));
    ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); }));

    user_.file = folder_.File("two.hpv");
    app->OnCommand(kSaveShots);
    const std::string renamed = folder_.File("two.txt");
    ASSERT_EQ(std::rename(user_.file->c_str(), renamed.c_str()), 0);
    app->OnCommand(kDeleteShots);
    ASSERT_EQ(view.count(), 0);
    ASSERT_TRUE(app->OpenDocument(renamed));
    ASSERT_TRUE(WaitFor([&] { return !app->Document().ShotsFile().IsRebuilding(); }));
    ASSERT_EQ(view.count(), 2);
    EXPECT_NE(Colour(view, 0), QColor(Qt::red).rgb());  // the video's own picture now
    EXPECT_FALSE(view.PaintingLocked());
}

TEST_F(ThumbViewTest, ExtractAsJpegWritesTheSelectedShotsIntoTheChosenFolder) {
    auto app = AppWithFourShots();
    Select(app->View(), {1, 3});
    app->OnCommand(kExtractJpeg);  // cancelled: nothing is written
    EXPECT_FALSE(app->Document().JpegExport().IsActive());
    user_.folder = folder_.Path();
    app->OnCommand(kExtractJpeg);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().JpegExport().IsActive(); }));
    const auto& written = app->Document().JpegExport().WrittenImages();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(FolderPart(written[1]), folder_.Path());
    EXPECT_TRUE(FileExists(written[1]));
    EXPECT_EQ(user_.messages.back(), "2 JPEG images have been saved to disk.");
    user_.folder.reset();
    app->OnCommand(kExtractJpeg);
    EXPECT_EQ(user_.folderStarts, (std::vector<std::string>{"", "", folder_.Path()}));
}

TEST_F(ThumbViewTest, GoToCommandsSeekAndClosingWithUnsavedShotsAsks) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    Select(view, {2});
    app->OnCommand(kGoToMiddle);
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 249; }));
    app->OnCommand(kGoToEnd);
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 299; }));
    Select(view, {3});
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                       view.visualItemRect(view.item(3)).center());
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 300; }));

    EXPECT_FALSE(app->Frame().close());  // Cancel
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Save the shots before closing?"});
    user_.saveAnswer = DesktopUserPort::SaveAnswer::Save;
    user_.file = folder_.File("kept.hpv");
    EXPECT_TRUE(app->Frame().close());
    EXPECT_TRUE(FileExists(*user_.file));
}

}  // namespace
}  // namespace trevanto::test

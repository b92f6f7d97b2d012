// The shot thumbnail view: its image list, its context menus, deleting,
// merging, saving and loading, exporting and the questions it asks.
#include <QLabel>
#include <QMenu>

#include <cstdio>

#include "app/command_ids.h"
#include "app/jpeg_export_commands.h"
#include "app/shots_file_commands.h"
#include "common/paths.h"
#include "desktop_fixture.h"
#include "video/surface.h"

namespace trevanto::test {
namespace {

using namespace command;

class ThumbViewTest : public DesktopTest {
  protected:
    // Four shots [0-99] .. [300-399] of the sample, each of its own colour.
    std::unique_ptr<CTrevantoApp> AppWithFourShots() {
        auto app = MakeApp();
        EXPECT_TRUE(app->Start());
        EXPECT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
        for (int i = 0; i < 4; ++i) {
            std::string caption;
            EXPECT_TRUE(
                app->Document().AddShot(SolidPicture(kColours[i]), caption, i * 100, i * 100 + 99));
        }
        return app;
    }
    // Selects the items; a context menu on the last one makes it the hit item.
    static void Select(CThumbView& view, const std::vector<int>& items) {
        view.clearSelection();
        for (int item : items)
            view.item(item)->setSelected(true);
        view.MakeContextMenu(view.visualItemRect(view.item(items.back())).center());
    }
    QRgb Colour(const CThumbView& view, int item) const {
        return view.ItemPicture(item).pixel(50, 40);
    }

    static constexpr Qt::GlobalColor kColours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
};

TEST_F(ThumbViewTest, ItemsShowTheirOwnImagesAndTheListGrowsAndEmptiesWithThem) {
    CThumbView view;
    int32_t image = -1;
    int32_t item = -1;
    EXPECT_FALSE(view.AddThumbnail(QImage(), "none", image, item));
    ASSERT_TRUE(view.AddThumbnail(SolidPicture(Qt::red), "a", image, item));
    ASSERT_TRUE(view.AddThumbnail(SolidPicture(Qt::green), "b", image, item));
    EXPECT_EQ(image, 1);
    EXPECT_EQ(Colour(view, 1), QColor(Qt::green).rgb());
    view.SetCurrentImage(0);
    EXPECT_TRUE(view.ReplaceImage(SolidPicture(Qt::blue)));
    EXPECT_EQ(Colour(view, 0), QColor(Qt::blue).rgb());
    view.SetCurrentImage(2);
    EXPECT_FALSE(view.ReplaceImage(SolidPicture(Qt::blue)));
    view.SetItemCaption(1, "renamed");
    EXPECT_EQ(view.ItemCaption(1), "renamed");
    EXPECT_FALSE(view.DeleteItemAndImage(0, -1));
    view.SetPaintingLocked(true);
    EXPECT_FALSE(view.updatesEnabled());
    view.DeleteAllItems();
    EXPECT_EQ(view.ImageCount(), 0);
}

TEST_F(ThumbViewTest, ContextMenusShowTheRulesAndRunTheChosenCommand) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    const auto enabled = [](const QMenu& menu) {
        std::vector<bool> states;
        for (const QAction* action : menu.actions())
            if (!action->isSeparator())
                states.push_back(action->isEnabled());
        return states;
    };
    Select(view, {1, 2});
    auto menu = view.MakeContextMenu(view.visualItemRect(view.item(2)).center());
    EXPECT_EQ(menu->title(), "Shot menu");
    EXPECT_EQ(enabled(*menu),
              (std::vector<bool>{true, true, true, true, false, false, false, true, true, true}));
    app->Document().StartEngine();
    menu = view.MakeContextMenu({view.viewport()->width() - 5, view.viewport()->height() - 5});
    EXPECT_EQ(menu->title(), "Shots menu");
    EXPECT_EQ(menu->actions()[0]->text(), "&Stop shot-engine");
    EXPECT_EQ(enabled(*menu), (std::vector<bool>{true, false, false, false, false}));
    // The main window's Shots menu follows the same rules, and so does the dispatch.
    emit app->Frame().ShotsMenu()->aboutToShow();
    EXPECT_FALSE(app->Frame().Action(kDeleteShots)->isEnabled());
    app->OnCommand(kDeleteShots);
    EXPECT_EQ(app->Document().ShotCount(), 4);
    menu->actions()[0]->trigger();
    EXPECT_FALSE(app->Document().IsSlicing());
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
    user_.confirmAnswer = false;
    Select(view, {0, 2});
    app->OnCommand(kDeleteShot);
    EXPECT_EQ(user_.confirmations.back(), "You are about to delete 2 shot items. Proceed ?");
    EXPECT_EQ(view.count(), 3);
    app->OnCommand(kDeleteShot);  // not asked again
    EXPECT_EQ(user_.confirmations.size(), 2u);
    ASSERT_EQ(view.count(), 1);
    EXPECT_EQ(view.ItemCaption(0), FormatCaption(1, 0, 299));

    user_.yesNoAnswer = false;
    view.selectAll();
    view.DeleteSelected();  // every shot: always a Yes/No question
    EXPECT_EQ(user_.questions.back(), "You are about to delete 1 shot items. Proceed ?");
    EXPECT_EQ(view.count(), 1);
    user_.yesNoAnswer = true;
    emit app->Frame().ShotsMenu()->aboutToShow();
    app->Frame().Action(kDeleteShots)->trigger();
    EXPECT_EQ(app->Document().ShotCount(), 0);
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=0");
}

TEST_F(ThumbViewTest, MergingShotsTwoToFourLeavesOneShotWithItsPictureRetaken) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    user_.yesNoAnswer = false;
    Select(view, {1, 2, 3});
    app->OnCommand(kMerge);
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Merge these 3 shot items ?"});
    user_.yesNoAnswer = true;
    app->OnCommand(kMerge);
    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 100, 399));
    // The merged shot's picture is retaken from frame 100 of the video.
    ASSERT_TRUE(WaitFor([&] { return Colour(view, 1) != QColor(Qt::yellow).rgb(); }));
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 100; }));
    const QImage expected = app->Document().GetPlayer().FrameSurface()->ToImage().scaled(100, 80);
    const QColor got(Colour(view, 1)), want(expected.pixel(50, 40));
    EXPECT_LE(std::abs(got.red() - want.red()) + std::abs(got.blue() - want.blue()), 80);
    EXPECT_EQ(Colour(view, 0), QColor(Qt::red).rgb());
}

TEST_F(ThumbViewTest, SavedShotsComeBackWithTheirPicturesRebuilt) {
    auto app = AppWithFourShots();
    CThumbView& view = app->View();
    user_.chosenFile = folder_.File("four.hpv");
    app->OnCommand(kSaveShots);
    app->OnCommand(kDeleteShots);
    ASSERT_EQ(view.count(), 0);
    app->OnCommand(kLoadShots);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().ShotsFile().IsRebuilding(); }));
    ASSERT_EQ(view.count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(view.ItemCaption(i), FormatCaption(i + 1, i * 100, i * 100 + 99));
        EXPECT_NE(Colour(view, i), QColor(kColours[i]).rgb());  // the video's own now
    }
    EXPECT_FALSE(view.PaintingLocked());
    // Given to the program, a shots file is known by its first line.
    const std::string renamed = folder_.File("four.txt");
    ASSERT_EQ(std::rename(user_.chosenFile->c_str(), renamed.c_str()), 0);
    app->OnCommand(kDeleteShots);
    ASSERT_TRUE(app->OpenDocument(renamed));
    ASSERT_TRUE(WaitFor([&] { return !app->Document().ShotsFile().IsRebuilding(); }));
    EXPECT_EQ(view.count(), 4);
}

TEST_F(ThumbViewTest, ExtractAsJpegWritesAnImagePerSelectedShotIntoTheChosenFolder) {
    auto app = AppWithFourShots();
    Select(app->View(), {1, 3});
    app->OnCommand(kExtractJpeg);  // cancelled: nothing is written
    EXPECT_FALSE(app->Document().JpegExport().IsActive());
    user_.chosenFolder = folder_.Path();
    app->OnCommand(kExtractJpeg);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().JpegExport().IsActive(); }));
    const auto& written = app->Document().JpegExport().WrittenImages();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_TRUE(FileExists(written[1]));
    EXPECT_EQ(FolderPart(written[1]), folder_.Path());
    EXPECT_EQ(user_.messages.back(), "2 JPEG images have been saved to disk.");
    user_.chosenFolder.reset();
    app->OnCommand(kExtractJpeg);
    EXPECT_EQ(user_.folderStarts, (std::vector<std::string>{"", "", folder_.Path()}));
}

TEST_F(ThumbViewTest, ClosingWithUnsavedShotsAsksToSaveThem) {
    auto app = AppWithFourShots();
    user_.saveAnswer = DesktopUserPort::SaveAnswer::Cancel;
    EXPECT_FALSE(app->Frame().close());
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Save the shots before closing?"});
    user_.saveAnswer = DesktopUserPort::SaveAnswer::Save;
    user_.chosenFile = folder_.File("kept.hpv");
    EXPECT_TRUE(app->Frame().close());
    EXPECT_TRUE(FileExists(*user_.chosenFile));
}

TEST_F(ThumbViewTest, DoubleClickAndGoToCommandsSeekToTheShot) {
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
}

}  // namespace
}  // namespace trevanto::test

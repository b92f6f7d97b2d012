// The shot thumbnail view: its image list, its two context menus with their
// enabling, deleting, merging and painting while shots are rebuilt.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <cstdio>

#include "app/command_ids.h"
#include "app/jpeg_export_commands.h"
#include "app/shots_file_commands.h"
#include "common/paths.h"
#include "desktop_fixture.h"
#include "video/surface.h"

namespace trevanto::test {
namespace {

class ThumbViewTest : public DesktopTest {
  protected:
    // Four shots [0-99], [100-199], [200-299], [300-399] of the sample, each
    // with a picture of its own colour.
    void AddFourShots(CTrevantoApp& app) {
        for (int i = 0; i < 4; ++i) {
            std::string caption;
            ASSERT_TRUE(
                app.Document().AddShot(SolidPicture(kColours[i]), caption, i * 100, i * 100 + 99));
        }
    }

    static void Select(CThumbView& view, const std::vector<int>& items) {
        view.clearSelection();
        for (int item : items)
            view.item(item)->setSelected(true);
    }

    static std::vector<bool> Enabled(const QMenu& menu) {
        std::vector<bool> enabled;
        for (const QAction* action : menu.actions()) {
            if (!action->isSeparator())
                enabled.push_back(action->isEnabled());
        }
        return enabled;
    }

    static QPoint EmptySpace(const CThumbView& view) {
        return {view.viewport()->width() - 5, view.viewport()->height() - 5};
    }

    static QPoint OnItem(const CThumbView& view, int item) {
        return view.visualItemRect(view.item(item)).center();
    }

    static void MakeEveryCommandAvailable(CThumbView& view) {
        for (int32_t id : {CThumbView::kVideoLink, CThumbView::kExtractJpeg, CThumbView::kLoadShots,
                           CThumbView::kSaveShots}) {
            view.SetCommandAvailable(id, true);
        }
    }

    static bool SameColour(QRgb a, QRgb b, int tolerance) {
        return std::abs(qRed(a) - qRed(b)) <= tolerance &&
               std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
               std::abs(qBlue(a) - qBlue(b)) <= tolerance;
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
    EXPECT_EQ(item, 1);
    EXPECT_EQ(view.CurrentImage(), 1);
    EXPECT_EQ(view.ItemPicture(1).pixel(50, 40), QColor(Qt::green).rgb());

    view.SetCurrentImage(0);
    EXPECT_TRUE(view.ReplaceImage(SolidPicture(Qt::blue)));
    EXPECT_EQ(view.ItemPicture(0).pixel(50, 40), QColor(Qt::blue).rgb());
    view.SetCurrentImage(2);
    EXPECT_FALSE(view.ReplaceImage(SolidPicture(Qt::blue)));

    view.SetItemCaption(1, "renamed");
    EXPECT_EQ(view.ItemCaption(1), "renamed");
    EXPECT_FALSE(view.DeleteItemAndImage(0, -1));
    view.SetPaintingLocked(true);
    EXPECT_FALSE(view.updatesEnabled());
    view.SetPaintingLocked(false);
    EXPECT_TRUE(view.updatesEnabled());

    view.DeleteAllItems();
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(view.ImageCount(), 0);
    ASSERT_TRUE(view.AddThumbnail(SolidPicture(Qt::red), "again", image, item));
    EXPECT_EQ(image, 0);
}

TEST_F(ThumbViewTest, ShotsMenuWithoutAVideoOffersOnlyLoading) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    CThumbView& view = app->View();
    MakeEveryCommandAvailable(view);
    const auto menu = view.MakeContextMenu(EmptySpace(view));
    EXPECT_EQ(menu->title(), "Shots menu");
    EXPECT_EQ(view.LastHitItem(), -1);
    ASSERT_EQ(menu->actions().size(), 7);
    EXPECT_EQ(menu->actions()[0]->text(), "&Start shot engine");
    // Start engine, add manually, load, save, delete.
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{false, false, true, false, false}));
}

TEST_F(ThumbViewTest, ShotsMenuFollowsTheRunAndTheShots) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    CThumbView& view = app->View();
    MakeEveryCommandAvailable(view);
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));

    auto menu = view.MakeContextMenu(EmptySpace(view));
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{true, true, true, false, false}));

    AddFourShots(*app);
    menu = view.MakeContextMenu(EmptySpace(view));
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{true, true, true, true, true}));

    app->Document().StartEngine();
    menu = view.MakeContextMenu(EmptySpace(view));
    EXPECT_EQ(menu->actions()[0]->text(), "&Stop shot-engine");
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{true, false, false, false, false}));
    // The main window's Shots menu follows the same rules.
    CMainFrame& frame = app->Frame();
    emit frame.ShotsMenu()->aboutToShow();
    for (const int32_t id :
         {CMainFrame::kLoadShots, CMainFrame::kSaveShots, CMainFrame::kDeleteShots}) {
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
    }
    app->OnCommand(CMainFrame::kDeleteShots);
    EXPECT_EQ(app->Document().ShotCount(), 4);
    EXPECT_TRUE(user_.questions.empty());
    menu->actions()[0]->trigger();
    EXPECT_FALSE(app->Document().IsSlicing());
    emit frame.ShotsMenu()->aboutToShow();
    EXPECT_TRUE(frame.Action(CMainFrame::kDeleteShots)->isEnabled());
    EXPECT_EQ(frame.menuBar()->actions()[1]->text(), "&Media");
}

TEST_F(ThumbViewTest, ShotMenuEnablingFollowsVideoRunAndSelection) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    CThumbView& view = app->View();
    MakeEveryCommandAvailable(view);
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    // Begin, middle, end, play, videolink, refresh, refine, jpeg, merge, delete.
    Select(view, {1});
    auto menu = view.MakeContextMenu(OnItem(view, 1));
    EXPECT_EQ(menu->title(), "Shot menu");
    EXPECT_EQ(view.LastHitItem(), 1);
    EXPECT_EQ(Enabled(*menu),
              (std::vector<bool>{true, true, true, true, true, true, true, true, false, true}));
    Select(view, {1, 2});
    menu = view.MakeContextMenu(OnItem(view, 2));
    EXPECT_EQ(Enabled(*menu),
              (std::vector<bool>{true, true, true, true, true, false, false, true, true, true}));

    app->Document().StartEngine();
    menu = view.MakeContextMenu(OnItem(view, 2));
    EXPECT_EQ(Enabled(*menu), (std::vector<bool>{false, false, false, false, true, false, false,
                                                 false, false, false}));
    app->Document().StopSlicing();

    // A refresh under way owns the frame request: no other refresh, merge or
    // export meanwhile.
    ASSERT_TRUE(app->Document().RefreshShotImage(0));
    menu = view.MakeContextMenu(OnItem(view, 2));
    EXPECT_EQ(Enabled(*menu),
              (std::vector<bool>{true, true, true, true, true, false, false, false, false, true}));
    Select(view, {1});
    menu = view.MakeContextMenu(OnItem(view, 1));
    EXPECT_FALSE(menu->actions()[7]->isEnabled());  // Refresh
    ASSERT_TRUE(WaitFor([&] { return !app->Document().FrameChainRunning(); }));

    // Features still to come stay in the menu, greyed.
    CThumbView plain;
    int32_t image = -1;
    int32_t item = -1;
    ASSERT_TRUE(plain.AddThumbnail(SolidPicture(Qt::red), "a", image, item));
    plain.resize(400, 300);
    menu = plain.MakeContextMenu(OnItem(plain, 0));
    for (const QAction* action : menu->actions()) {
        const int32_t id = action->data().toInt();
        if (id == CThumbView::kVideoLink) {
            EXPECT_FALSE(action->isEnabled());
        }
    }
}

TEST_F(ThumbViewTest, DeletingOneShotAsksWithItsCaptionAndMovesLaterPicturesUp) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    Select(view, {1});
    QTest::keyClick(&view, Qt::Key_Delete);
    ASSERT_EQ(user_.confirmations.size(), 1u);
    EXPECT_EQ(user_.confirmations[0], "You are about to delete shot 0002 ( 100 - 199 ). Proceed ?");
    ASSERT_EQ(view.count(), 3);
    EXPECT_EQ(view.ItemPicture(1).pixel(50, 40), QColor(Qt::blue).rgb());
    EXPECT_EQ(view.ItemPicture(2).pixel(50, 40), QColor(Qt::yellow).rgb());
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 100, 299));
    EXPECT_EQ(view.ItemCaption(2), FormatCaption(3, 300, 399));
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=3");
    for (const auto& shot : app->Document().Shots()) {
        EXPECT_EQ(shot->imageIndex, shot->itemIndex);
    }
}

TEST_F(ThumbViewTest, DeletingSeveralShotsAsksWithTheirCount) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    Select(view, {0, 2});
    view.RunCommand(CThumbView::kDeleteShot);
    ASSERT_EQ(user_.confirmations.size(), 1u);
    EXPECT_EQ(user_.confirmations[0], "You are about to delete 2 shot items. Proceed ?");
    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.ItemCaption(0), FormatCaption(1, 0, 199));
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 200, 399));
}

TEST_F(ThumbViewTest, DeletingEveryShotAsksYesOrNoEvenWithoutConfirmations) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    app->Document().SetConfirmDeletes(false);
    user_.yesNoAnswer = false;
    view.selectAll();
    view.DeleteSelected();
    ASSERT_EQ(user_.questions.size(), 1u);
    EXPECT_EQ(user_.questions[0], "You are about to delete 4 shot items. Proceed ?");
    EXPECT_TRUE(user_.confirmations.empty());
    EXPECT_EQ(view.count(), 4);

    user_.yesNoAnswer = true;
    app->Frame().Action(CMainFrame::kDeleteShots)->trigger();
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(view.ImageCount(), 0);
    EXPECT_EQ(app->Document().ShotCount(), 0);
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=0");
}

TEST_F(ThumbViewTest, DoNotShowAgainCancelsThisDeletionAndSilencesTheNext) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    user_.tickDoNotShow = true;
    user_.confirmAnswer = false;
    Select(view, {2});
    view.DeleteSelected();
    EXPECT_EQ(view.count(), 4);
    EXPECT_FALSE(app->Document().ConfirmDeletes());
    view.DeleteSelected();
    EXPECT_EQ(user_.confirmations.size(), 1u);
    EXPECT_EQ(view.count(), 3);
}

TEST_F(ThumbViewTest, MergingShotsTwoToFourLeavesOneShotWithItsPictureRetaken) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    user_.yesNoAnswer = false;
    Select(view, {1, 2, 3});
    view.RunCommand(CThumbView::kMerge);
    ASSERT_EQ(user_.questions.size(), 1u);
    EXPECT_EQ(user_.questions[0], "Merge these 3 shot items ?");
    EXPECT_EQ(view.count(), 4);

    user_.yesNoAnswer = true;
    view.RunCommand(CThumbView::kMerge);
    ASSERT_EQ(view.count(), 2);
    EXPECT_EQ(view.ItemCaption(0), FormatCaption(1, 0, 99));
    EXPECT_EQ(view.ItemCaption(1), FormatCaption(2, 100, 399));
    EXPECT_EQ(app->Document().ShotCount(), 2);

    // The merged shot's picture is retaken from frame 100 of the video.
    const QRgb yellow = QColor(Qt::yellow).rgb();
    ASSERT_TRUE(WaitFor([&] { return view.ItemPicture(1).pixel(50, 40) != yellow; }));
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 100; }));
    const auto frame = app->Document().GetPlayer().FrameSurface();
    ASSERT_NE(frame, nullptr);
    const QImage expected = frame->ToImage().scaled(100, 80);
    EXPECT_TRUE(SameColour(view.ItemPicture(1).pixel(50, 40), expected.pixel(50, 40), 40));
    EXPECT_EQ(view.ItemPicture(0).pixel(50, 40), QColor(Qt::red).rgb());
}

TEST_F(ThumbViewTest, SavedShotsComeBackWithTheirPicturesRebuilt) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    user_.chosenFile = folder_.File("four.hpv");
    view.MakeContextMenu(EmptySpace(view));
    view.RunCommand(CThumbView::kSaveShots);
    ASSERT_TRUE(FileExists(*user_.chosenFile));

    view.RunCommand(CThumbView::kDeleteShots);
    ASSERT_EQ(view.count(), 0);
    view.RunCommand(CThumbView::kLoadShots);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().ShotsFile().IsRebuilding(); }));
    ASSERT_EQ(view.count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(view.ItemCaption(i), FormatCaption(i + 1, i * 100, i * 100 + 99));
        // The pictures are the video's own now, not the colours they were made with.
        EXPECT_NE(view.ItemPicture(i).pixel(50, 40), QColor(kColours[i]).rgb());
    }
    EXPECT_FALSE(view.PaintingLocked());
    EXPECT_EQ(app->Frame().StatusPane(3)->text(), "TotalShots=4");

    // Given to the program (command line, file manager), a shots file is
    // known by its first line, whatever its name, and loads the same way.
    const std::string renamed = folder_.File("four.txt");
    ASSERT_EQ(std::rename(user_.chosenFile->c_str(), renamed.c_str()), 0);
    view.RunCommand(CThumbView::kDeleteShots);
    ASSERT_TRUE(app->OpenDocument(renamed));
    ASSERT_TRUE(WaitFor([&] { return !app->Document().ShotsFile().IsRebuilding(); }));
    EXPECT_EQ(view.count(), 4);
}

TEST_F(ThumbViewTest, ExtractAsJpegWritesAnImagePerSelectedShot) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    Select(view, {1, 3});
    view.MakeContextMenu(OnItem(view, 3));
    view.RunCommand(CThumbView::kExtractJpeg);  // cancelled: nothing is written
    EXPECT_FALSE(app->Document().JpegExport().IsActive());
    // The images go to the folder the user chooses, which is remembered.
    user_.chosenFolder = folder_.Path();
    view.RunCommand(CThumbView::kExtractJpeg);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().JpegExport().IsActive(); }));
    const auto& written = app->Document().JpegExport().WrittenImages();
    ASSERT_EQ(written.size(), 2u);
    for (const std::string& image : written) {
        EXPECT_TRUE(FileExists(image)) << image;
        EXPECT_EQ(FolderPart(image), folder_.Path());
    }
    EXPECT_EQ(user_.messages.back(), "2 JPEG images have been saved to disk.");
    EXPECT_EQ(user_.kinds.back(), MessageKind::Information);
    user_.chosenFolder.reset();
    view.RunCommand(CThumbView::kExtractJpeg);
    EXPECT_EQ(user_.folderStarts, (std::vector<std::string>{"", "", folder_.Path()}));
}

TEST_F(ThumbViewTest, ClosingWithUnsavedShotsAsksToSaveThem) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    // Another video keeps the shots, and they are still unsaved.
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    ASSERT_EQ(app->View().count(), 4);
    user_.saveAnswer = DesktopUserPort::SaveAnswer::Cancel;
    EXPECT_FALSE(app->Frame().close());
    EXPECT_EQ(user_.questions, std::vector<std::string>{"Save the shots before closing?"});
    EXPECT_TRUE(app->Frame().isVisible());

    user_.saveAnswer = DesktopUserPort::SaveAnswer::Save;
    user_.chosenFile = folder_.File("kept.hpv");
    EXPECT_TRUE(app->Frame().close());
    EXPECT_TRUE(FileExists(*user_.chosenFile));
    EXPECT_EQ(user_.questions.size(), 2u);
}

TEST_F(ThumbViewTest, DoubleClickAndGoToCommandsSeekToTheShot) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    ASSERT_TRUE(OpenPaused(*app, MediaPath(SampleVideo())));
    AddFourShots(*app);
    CThumbView& view = app->View();
    Select(view, {2});
    const auto menu = view.MakeContextMenu(OnItem(view, 2));
    view.RunCommand(CThumbView::kGoToMiddle);
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 249; }));
    view.RunCommand(CThumbView::kGoToEnd);
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 299; }));
    Select(view, {3});
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, OnItem(view, 3));
    ASSERT_TRUE(WaitFor([&] { return app->Document().GetPlayer().CurrentFrame() == 300; }));
}

}  // namespace
}  // namespace trevanto::test

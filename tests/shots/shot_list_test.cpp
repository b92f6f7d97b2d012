#include "shots/shot_list.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

// Appends a shot as the document does, with view indexes given in order.
Shot& AddRange(ShotList& list, int32_t start, int32_t end) {
    Shot& shot = list.Append(std::make_unique<Shot>());
    shot.number = list.ShotCount();
    shot.startFrame = start;
    shot.SetEnd(end);
    shot.itemIndex = shot.imageIndex = list.ShotCount() - 1;
    shot.BuildCaption({});
    return shot;
}

TEST(ShotCaption, NumbersArePaddedToFourDigits) {
    Shot shot;
    shot.number = 7;
    shot.startFrame = 10;
    shot.SetEnd(20);
    shot.BuildCaption({});
    EXPECT_EQ(shot.caption, "shot 0007 ( 10 - 20 )");
    shot.number = 12;
    shot.startFrame = 1200;
    shot.SetEnd(1299);
    shot.BuildCaption({});
    EXPECT_EQ(shot.caption, "shot 0012 ( 1200 - 1299 )");
    shot.number = 12345;
    shot.BuildCaption({});
    EXPECT_EQ(shot.caption, "shot 12345 ( 1200 - 1299 )");
}

TEST(ShotCaption, UnnumberedShotKeepsItsCaptionUnlessTimecodes) {
    Shot shot("given");
    shot.startFrame = 1500;
    shot.SetEnd(1638);
    shot.BuildCaption({});
    EXPECT_EQ(shot.caption, "given");
    shot.BuildCaption({true, 3000, 120.0});
    EXPECT_EQ(shot.caption, "00:01:00:0000 - 00:01:05:0519");
    EXPECT_EQ(shot.EndTimecode(3000, 120.0, '.'), "00:01:05.0519");
}

TEST(ShotRecord, SetEndMakesTheImageTheStartFrame) {
    Shot shot;
    EXPECT_EQ(shot.number, -1);
    EXPECT_EQ(shot.itemIndex, -1);
    shot.startFrame = 40;
    shot.SetEnd(79);
    EXPECT_EQ(shot.imageFrame, 40);
    shot.startFrame = 45;  // refining later leaves the image frame alone
    EXPECT_EQ(shot.imageFrame, 40);
}

TEST(ShotList, LooksUpShotsByViewItem) {
    ShotList list;
    EXPECT_EQ(list.FindShotByItem(0), nullptr);
    EXPECT_EQ(list.StartFrameOfItem(0), -1);
    AddRange(list, 0, 99);
    AddRange(list, 100, 199);
    EXPECT_EQ(list.StartFrameOfItem(1), 100);
    EXPECT_EQ(list.ImageIndexOfItem(1), 1);
    EXPECT_EQ(list.StartFrameOfItem(-1), -1);
    EXPECT_EQ(list.ImageIndexOfItem(5), -1);
    EXPECT_EQ(list.FindShotByItem(-1), nullptr);
    // A shot the view refused has no item and is never found.
    list.Append(std::make_unique<Shot>());
    EXPECT_EQ(list.FindShotByItem(-1), nullptr);
}

TEST(ShotList, DeletingAMiddleShotRenumbersAndAbsorbsItsRange) {
    ShotList list;
    AddRange(list, 0, 99);
    AddRange(list, 100, 199);
    AddRange(list, 200, 299);
    const auto removed = list.RemoveByItem(1);
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->number, 2);
    EXPECT_EQ(removed->startFrame, 100);
    list.ShiftIndexesAfterRemoval(removed->itemIndex, removed->imageIndex);
    const auto changed = list.RenumberAfterRemoval(*removed, {});
    ASSERT_EQ(changed.size(), 1u);
    ASSERT_EQ(list.ShotCount(), 2);
    EXPECT_EQ(list.At(1)->number, 2);
    EXPECT_EQ(list.At(1)->startFrame, 100);
    EXPECT_EQ(list.At(1)->endFrame, 299);
    EXPECT_EQ(list.At(1)->itemIndex, 1);
    EXPECT_EQ(list.At(1)->caption, "shot 0002 ( 100 - 299 )");
    EXPECT_EQ(list.At(0)->caption, "shot 0001 ( 0 - 99 )");
}

TEST(ShotList, DeletingTheLastShotGivesItsRangeToNobody) {
    ShotList list;
    AddRange(list, 0, 99);
    AddRange(list, 100, 199);
    const auto removed = list.RemoveByItem(1);
    ASSERT_TRUE(removed.has_value());
    EXPECT_TRUE(list.RenumberAfterRemoval(*removed, {}).empty());
    EXPECT_EQ(list.At(0)->endFrame, 99);
    EXPECT_FALSE(list.RemoveByItem(7).has_value());
}

TEST(ShotList, ShiftMovesOnlyLaterItemsAndTheirHigherImages) {
    ShotList list;
    for (int i = 0; i < 4; ++i)
        AddRange(list, i * 10, i * 10 + 9);
    list.At(3)->imageIndex = 0;  // images need not follow items
    list.At(0)->imageIndex = 3;
    ASSERT_TRUE(list.RemoveByItem(1).has_value());
    list.ShiftIndexesAfterRemoval(1, 1);
    EXPECT_EQ(list.At(0)->itemIndex, 0);
    EXPECT_EQ(list.At(0)->imageIndex, 3);  // before the removed item: untouched
    EXPECT_EQ(list.At(1)->itemIndex, 1);
    EXPECT_EQ(list.At(1)->imageIndex, 1);
    EXPECT_EQ(list.At(2)->itemIndex, 2);
    EXPECT_EQ(list.At(2)->imageIndex, 0);  // not above the removed image
}

TEST(ShotList, ClearShotsEmptiesBothLists) {
    ShotList shots;
    PendingShotList pending;
    AddRange(shots, 0, 9);
    AddRange(pending, 10, 19);
    ClearShots(shots, pending);
    EXPECT_TRUE(shots.IsEmpty());
    EXPECT_TRUE(pending.IsEmpty());
    EXPECT_EQ(pending.TakeHead(), nullptr);
}

}  // namespace
}  // namespace trevanto

#include <gtest/gtest.h>

#include "shots/shot_list.h"
#include "shots/slicing_settings.h"

namespace trevanto {
namespace {

// Appends a shot as the document does, with view indexes given in order.
void AddRange(ShotList& list, int32_t start, int32_t end) {
    Shot& shot = list.Append(std::make_unique<Shot>());
    shot.number = list.ShotCount();
    shot.startFrame = start;
    shot.SetEnd(end);
    shot.itemIndex = shot.imageIndex = list.ShotCount() - 1;
    shot.BuildCaption({});
}

TEST(ShotRecord, CaptionsAndTheImageFrame) {
    Shot given("given");
    given.startFrame = 1500;
    given.SetEnd(1638);
    given.BuildCaption({});
    EXPECT_EQ(given.caption, "given");  // unnumbered: kept unless timecodes
    given.BuildCaption({true, 3000, 120.0, nullptr});
    EXPECT_EQ(given.caption, "00:01:00:0000 - 00:01:05:0519");
    EXPECT_EQ(given.EndTimecode(3000, 120.0, '.'), "00:01:05.0519");
    Shot shot;
    EXPECT_EQ(shot.itemIndex, -1);
    shot.startFrame = 1200;
    shot.SetEnd(1299);
    shot.startFrame = 1210;  // refining later leaves the image frame alone
    EXPECT_EQ(shot.imageFrame, 1200);
    for (const auto& [number, caption] : {std::pair(7, "shot 0007 ( 1210 - 1299 )"),
                                          std::pair(12345, "shot 12345 ( 1210 - 1299 )")}) {
        shot.number = number;
        shot.BuildCaption({});
        EXPECT_EQ(shot.caption, caption);
    }
}

// Deleting and renumbering through the document: tests/app doc_shots_tests.
TEST(ShotList, ShiftMovesOnlyLaterItemsAndTheirHigherImages) {
    ShotList list;
    EXPECT_EQ(list.StartFrameOfItem(0), -1);
    for (int i = 0; i < 4; ++i)
        AddRange(list, i * 100, i * 100 + 99);
    EXPECT_EQ(list.ImageIndexOfItem(5), -1);
    list.At(3)->imageIndex = 0;  // images need not follow items
    list.At(0)->imageIndex = 3;
    ASSERT_TRUE(list.RemoveByItem(1).has_value());
    list.ShiftIndexesAfterRemoval(1, 1);
    EXPECT_EQ(std::pair(list.At(0)->itemIndex, list.At(0)->imageIndex), std::pair(0, 3));
    EXPECT_EQ(std::pair(list.At(1)->itemIndex, list.At(1)->imageIndex), std::pair(1, 1));
    EXPECT_EQ(std::pair(list.At(2)->itemIndex, list.At(2)->imageIndex), std::pair(2, 0));
    EXPECT_EQ(list.StartFrameOfItem(2), 300);
    // A shot the view refused has no item and is never found.
    list.Append(std::make_unique<Shot>());
    EXPECT_EQ(list.FindShotByItem(-1), nullptr);
    PendingShotList pending;
    AddRange(pending, 10, 19);
    ClearShots(list, pending);
    EXPECT_TRUE(list.IsEmpty() && pending.IsEmpty());
    EXPECT_EQ(pending.TakeHead(), nullptr);
}

TEST(ComputeStep, EachOption) {
    const struct {
        int32_t option;
        float value;
        int32_t frames;
        double secondsPerFrame;
        int32_t step;
    } rows[] = {{2, 3.0f, 1000, 0.04, 75},    // one shot every 3 s at 25 fps
                {0, 40.0f, 1000, 0.04, 25},   // 40 shots over 1000 frames
                {0, 2000.0f, 1000, 0.04, 0},  // more shots than frames
                {0, 40.0f, 0, 0.04, 40},      // no frame count
                {1, 2.5f, 1000, 0.04, 12},    // 2.5 per second counts as 2
                {1, 0.5f, 1000, 0.04, 40},    // below one per second
                {1, 100.0f, 1000, 0.04, 40},  // under a frame: keep 40
                {2, 3.0f, 1000, 0.0, 40},     // no frame duration
                {3, 17.9f, 1000, 0.04, 17},   // frames
                {7, 17.0f, 1000, 0.04, 40},   // unknown option
                // Steps past 32 bits are held at 2^31 - 1 instead of cast.
                {2, 2.0e9f, 1000, 0.04, 2147483647},
                {3, 2147483647.0f, 1000, 0.04, 2147483647}};
    for (const auto& row : rows) {
        SlicingSettings settings;
        settings.rateOption = row.option;
        settings.rateValue = row.value;
        settings.ComputeStep(row.frames, row.secondsPerFrame);
        EXPECT_EQ(settings.stepFrames, row.step) << row.option << " " << row.value;
    }
}

TEST(ReadSamplerValue, TheSettingsDialogsRules) {
    using enum SamplerValueCheck;
    const struct {
        int32_t option;
        const char* text;
        SamplerValueCheck check;
        float value;
    } rows[] = {{0, "1", Accepted, 1},       {0, "", Empty, 0},
                {0, "0", TooSmall, 0},       {1, "2.5", Accepted, 2},
                {1, "0.5", TooSmall, 0},     {3, " +12abc", Accepted, 12},
                {3, "abc", TooSmall, 0},     {2, "0", Accepted, 0},
                {2, "1.5e1s", Accepted, 15}, {2, "-0.1", TooSmall, 0},
                {2, "inf", Accepted, 0},     {3, "2147483647", Accepted, 2147483647.0f},
                {2, "1e99999", TooLarge, 0}, {3, "99999999999999999999", TooLarge, 0}};
    for (const auto& row : rows) {
        const SamplerValueReading reading = ReadSamplerValue(row.option, row.text);
        EXPECT_EQ(reading.check, row.check) << row.option << " " << row.text;
        EXPECT_EQ(reading.value, row.value) << row.option << " " << row.text;
    }
    EXPECT_EQ(SamplerValueText(2, 2.55f) + SamplerValueText(3, 17.9f), "2.517");
    // Only a finite threshold above 0 is taken.
    for (const char* refused : {"0", "-3", "", "nan", "1e39"})
        EXPECT_FALSE(ReadThreshold(refused)) << refused;
    EXPECT_EQ(ReadThreshold(" 12.5x"), 12.5f);
    EXPECT_EQ(ThresholdText(12.5f), "12");
}

// "Split shot here" on [0-99] [100-199] [200-200] [201-299]: the shot that
// holds the frame keeps its start (and picture), the new one follows it, and
// the later shots move one number, item and image on.
TEST(ShotList, SplitHereAtAShotsFramesAndOnAOneFrameShot) {
    const struct {
        int32_t frame;
        std::vector<std::pair<int32_t, int32_t>> ranges;  // empty: refused
    } rows[] = {
        {100, {}},                                                         // a shot's first frame
        {199, {{0, 99}, {100, 198}, {199, 199}, {200, 200}, {201, 299}}},  // its last
        {200, {}},                                                         // a one-frame shot
        {150, {{0, 99}, {100, 149}, {150, 199}, {200, 200}, {201, 299}}},
        {300, {}},  // beyond every shot
    };
    for (const auto& row : rows) {
        ShotList list;
        for (const auto& [start, end] :
             {std::pair(0, 99), std::pair(100, 199), std::pair(200, 200), std::pair(201, 299)})
            AddRange(list, start, end);
        const std::optional<size_t> holding = list.FindShotHolding(row.frame, "v.mpg");
        const std::vector<Shot*> changed =
            holding ? list.SplitAt(*holding, row.frame, {}) : std::vector<Shot*>{};
        if (row.ranges.empty()) {
            EXPECT_TRUE(changed.empty()) << row.frame;
            EXPECT_EQ(list.ShotCount(), 4);
            continue;
        }
        ASSERT_EQ(list.ShotCount(), 5) << row.frame;
        EXPECT_EQ(changed.size(), 4u);  // the split one and all after it
        for (int32_t i = 0; i < 5; ++i) {
            const Shot& shot = *list.At(static_cast<size_t>(i));
            EXPECT_EQ(std::pair(shot.startFrame, shot.endFrame),
                      row.ranges[static_cast<size_t>(i)]);
            EXPECT_EQ(shot.imageFrame, shot.startFrame);
            EXPECT_EQ(shot.number, i + 1);
            EXPECT_EQ(std::pair(shot.itemIndex, shot.imageIndex), std::pair(i, i));
        }
        EXPECT_EQ(list.At(2)->caption, "shot 0003 ( " + std::to_string(row.frame) + " - 199 )");
    }
}

}  // namespace
}  // namespace trevanto

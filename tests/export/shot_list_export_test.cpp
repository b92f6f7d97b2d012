// Shot lists for editors: timecodes at the usual frame rates, drop-frame
// counting at 29.97, and CSV captions quoted.
#include <gtest/gtest.h>

#include "export/shot_list_export.h"

namespace trevanto {
namespace {

TEST(ShotListExport, EditTimecodesAtTheUsualRates) {
    const struct {
        double framesPerSecond;
        int64_t frame;
        const char* timecode;
    } rows[] = {
        {24, 0, "00:00:00:00"},
        {24, 23, "00:00:00:23"},
        {24, 86400, "01:00:00:00"},
        {24000.0 / 1001, 1439, "00:00:59:23"},
        {25, 24, "00:00:00:24"},
        {25, 90000 * 24 + 26, "00:00:01:01"},
        {25, 89999, "00:59:59:24"},
        {30000.0 / 1001, 1799, "00:00:59;29"},
        {30000.0 / 1001, 1800, "00:01:00;02"},  // ;00 and ;01 are dropped
        {30000.0 / 1001, 3598, "00:02:00;02"},
        {30000.0 / 1001, 17982, "00:10:00;00"},
        {30000.0 / 1001, 17981, "00:09:59;29"},
        {30000.0 / 1001, 107892, "01:00:00;00"},
        {60000.0 / 1001, 3600, "00:01:00;04"},
        {30, 1800, "00:01:00:00"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EditTimecode(row.frame, EditRateOf(1.0 / row.framesPerSecond)), row.timecode)
            << row.framesPerSecond << " " << row.frame;
    }
}

TEST(ShotListExport, CsvQuotesCaptionsAndEdlCountsDropFrame) {
    ShotList shots;
    for (const auto& [start, end, caption] :
         {std::tuple(0, 1799, "a, \"quoted\" one"), std::tuple(1800, 1800, "b")}) {
        auto shot = std::make_unique<Shot>(caption);
        shot->number = shots.ShotCount() + 1;
        shot->startFrame = start;
        shot->endFrame = end;
        shots.Append(std::move(shot));
    }
    EXPECT_EQ(FormatShotListCsv(shots, 0.04),
              "number,start frame,end frame,start timecode,end timecode,length,caption\r\n"
              "1,0,1799,00:00:00:00,00:01:11:24,1800,\"a, \"\"quoted\"\" one\"\r\n"
              "2,1800,1800,00:01:12:00,00:01:12:00,1,\"b\"\r\n");
    EXPECT_EQ(FormatEdl(shots, "t", "t.mpg", 1001.0 / 30000),
              "TITLE: t\nFCM: DROP FRAME\n\n"
              "001  AX       V     C        00:00:00;00 00:01:00;02 01:00:00;00 01:01:00;02\n"
              "* FROM CLIP NAME: t.mpg\n\n"
              "002  AX       V     C        00:01:00;02 00:01:00;03 01:01:00;02 01:01:00;03\n"
              "* FROM CLIP NAME: t.mpg\n\n");
}

}  // namespace
}  // namespace trevanto

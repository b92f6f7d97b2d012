// Shot lists for editors: timecodes at the usual frame rates, drop-frame
// counting at 29.97, and CSV captions quoted and kept from running as
// spreadsheet formulas.
#include <gtest/gtest.h>

#include <fstream>

#include "export/shot_list_export.h"
#include "support/test_clips.h"
#include "support/whole_file.h"

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

// Where the rate varies, timecodes count the frames' own times at the edit
// rate: 30 then 20 pictures a second at 25 edit frames.
TEST(ShotListExport, OwnTimesWhereTheRateVaries) {
    std::vector<double> seconds;
    for (int frame = 0; frame < 150; ++frame)
        seconds.push_back(frame <= 90 ? frame / 30.0 : 3.0 + (frame - 90) / 20.0);
    const PictureTimes times = std::make_shared<const std::vector<double>>(seconds);
    ShotList shots;
    for (const auto& [start, end] : {std::pair(0, 89), std::pair(90, 149)}) {
        auto shot = std::make_unique<Shot>("c");
        shot->number = shots.ShotCount() + 1;
        shot->startFrame = start;
        shot->endFrame = end;
        shots.Append(std::move(shot));
    }
    EXPECT_EQ(FormatShotListCsv(shots, 6.0 / 150, times),
              "number,start frame,end frame,start timecode,end timecode,length,caption\r\n"
              "1,0,89,00:00:00:00,00:00:02:24,90,\"c\"\r\n"
              "2,90,149,00:00:03:00,00:00:05:24,60,\"c\"\r\n");
    EXPECT_EQ(FormatEdl(shots, "t", "t.mp4", 6.0 / 150, times),
              "TITLE: t\nFCM: NON-DROP FRAME\n\n"
              "001  AX       V     C        00:00:00:00 00:00:03:00 01:00:00:00 01:00:03:00\n"
              "* FROM CLIP NAME: t.mp4\n\n"
              "002  AX       V     C        00:00:03:00 00:00:06:00 01:00:03:00 01:00:06:00\n"
              "* FROM CLIP NAME: t.mp4\n\n");
}

TEST(ShotListExport, CsvCaptionsNeverRunAsFormulas) {
    // Caption, and the caption cell as written.
    const std::pair<const char*, const char*> rows[] = {
        {"=1+1", "\"'=1+1\""},
        {"+1", "\"'+1\""},
        {"-2", "\"'-2\""},
        {"@SUM(A1:A9)", "\"'@SUM(A1:A9)\""},
        {"\t=1+1", "\"'\t=1+1\""},
        {"\r=1+1", "\"'\r=1+1\""},
        {"=HYPERLINK(\"http://x\",\"a\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\""},
        {"a=b", "\"a=b\""},
        {"shot 0001 ( 0 - 24 )", "\"shot 0001 ( 0 - 24 )\""},
        {"00:00:01:00 - 00:00:02:00", "\"00:00:01:00 - 00:00:02:00\""},
        {"'quoted", "\"'quoted\""},
        {"", "\"\""},
    };
    ShotList shots;
    std::string expected =
        "number,start frame,end frame,start timecode,end timecode,length,caption\r\n";
    for (const auto& [caption, cell] : rows) {
        auto shot = std::make_unique<Shot>(caption);
        shot->number = shots.ShotCount() + 1;
        // Number cells that start with "-" stay numbers.
        shot->startFrame = -1;
        shot->endFrame = 24;
        expected +=
            std::to_string(shot->number) + ",-1,24,00:00:00:00,00:00:00:24,26," + cell + "\r\n";
        shots.Append(std::move(shot));
    }
    test::TempFolder dir;
    ASSERT_TRUE(SaveShotList(dir / "shots.csv", ShotListKind::Csv, shots, "/v/clip.mpg", 0.04));
    EXPECT_EQ(test::ReadWholeFile(dir / "shots.csv"), expected);
}

}  // namespace
}  // namespace trevanto

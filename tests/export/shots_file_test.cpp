#include "export/shots_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "common/text_format.h"
#include "support/test_clips.h"
#include "support/whole_file.h"

namespace trevanto {
namespace {

using Range = std::tuple<int32_t, int32_t, int32_t>;  // start, image, end
constexpr const char* kFirstLine = "Trevanto (c) 2004 Qelvar\r\n";
const std::string kHeader = std::string(kFirstLine) + "\r\n/videos/clip.mpg\r\n";

class ShotsFileTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& bytes, const std::string& name = "shots.hpv") {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    std::string Read(const std::string& name) { return test::ReadWholeFile(dir_ / name); }
    // Opens the file; on success reads its records into `ranges_`.
    ShotsFileOpenStatus Load(const std::string& path) {
        ShotsFileReader reader;
        const ShotsFileOpenStatus status = reader.Open(path);
        ranges_.clear();
        if (status == ShotsFileOpenStatus::Ok) {
            videoPath_ = reader.VideoPath();
            EXPECT_EQ(reader.ReadRecords(pending_), ShotsFileOpenStatus::Ok);
            for (const auto& shot : pending_)
                ranges_.emplace_back(shot->startFrame, shot->imageFrame, shot->endFrame);
        }
        return status;
    }

    test::TempFolder dir_;
    PendingShotList pending_;  // each read empties it first
    std::vector<Range> ranges_;
    std::string videoPath_;
};

TEST_F(ShotsFileTest, SavedBytesReadBack) {
    ShotList shots;
    EXPECT_EQ(SaveShotsFile(dir_ / "out.hpv", "/v.avi", shots), ShotsFileSaveStatus::NoShots);
    EXPECT_EQ(Read("out.hpv"), std::string(kFirstLine) + "\r\n/v.avi\r\n");
    for (const auto& [start, end] : {std::pair(0, 119), std::pair(120, 245)}) {
        Shot& shot = shots.Append(std::make_unique<Shot>("caption"));
        shot.startFrame = start;
        shot.SetEnd(end);
        shot.number = shots.ShotCount();
    }
    shots.At(1)->imageFrame = 130;
    ASSERT_EQ(::chmod(Write("old", "out.hpv").c_str(), 0444), 0);  // read-only is overwritten
    std::vector<int32_t> positions;
    EXPECT_EQ(SaveShotsFile(dir_ / "out.hpv", "/videos/clip.mpg", shots,
                            [&](int32_t position) { positions.push_back(position); }),
              ShotsFileSaveStatus::Written);
    EXPECT_EQ(Read("out.hpv"), kHeader + "shot 1=0,0,119\r\nshot 2=120,130,245\r\n");
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 16383}));
    EXPECT_EQ(Load(dir_ / "out.hpv"), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(ranges_, (std::vector<Range>{{0, 0, 119}, {120, 130, 245}}));
    EXPECT_EQ(SaveShotsFile(dir_ / "missing/x.hpv", "/v.avi", shots),
              ShotsFileSaveStatus::CannotCreate);
    // Progress while loading: tests/app doc_shots_file_tests.
    EXPECT_EQ(ProgressPosition(3'000'000'000LL, 3'000'000'000LL), 32767);
    EXPECT_EQ(ProgressPosition(5, 0), 0);
}

TEST_F(ShotsFileTest, HeadersAndFilesThatAreNone) {
    using S = ShotsFileOpenStatus;
    const std::pair<std::string, S> rows[] = {
        {"trevanto (c) 2004 Qelvar\r\n\r\n/v.avi\r\n", S::NotShotsFile},
        {"Trevanto (c) 2004 Qelvar \r\n\r\n/v.avi\r\n", S::NotShotsFile},
        {"Trevanto (c) 2004 Qelvar", S::NotShotsFile},
        {"", S::NotShotsFile},
        {kFirstLine, S::NoLine3},  // ends after line 1, or inside line 2
        {std::string(kFirstLine) + "xx", S::NoLine3},
        {std::string(kFirstLine) + "anything\r\n", S::NoVideoPath},
        // An empty line 3 gives an empty path, for the open-video operation to refuse.
        {std::string(kFirstLine) + "\r\n\r\n", S::Ok},
        // A path without a line end ends the file: no records.
        {std::string(kFirstLine) + "\r\n/v.avi", S::Ok}};
    for (const auto& [bytes, status] : rows)
        EXPECT_EQ(Load(Write(bytes)), status) << bytes;
    EXPECT_EQ(videoPath_, "/v.avi");
    EXPECT_TRUE(ranges_.empty());
    EXPECT_EQ(Load(dir_ / "does-not-exist.hpv"), S::CannotRead);
    // A folder threw from the stream; a FIFO without a writer blocked for ever.
    ASSERT_EQ(::mkdir((dir_ / "folder.hpv").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((dir_ / "fifo.hpv").c_str(), 0600), 0);
    for (const std::string& path :
         {dir_ / "folder.hpv", dir_ / "fifo.hpv", std::string("/dev/zero")}) {
        EXPECT_EQ(Load(path), S::NotAFile) << path;
        EXPECT_FALSE(HasShotsFileHeader(path)) << path;
    }
    EXPECT_TRUE(HasShotsFileHeader(Write(std::string(kFirstLine) + "xx")));
    EXPECT_FALSE(HasShotsFileHeader(Write("Trevanto (c) 2004 Qelvar")));
}

TEST_F(ShotsFileTest, RecordsAsTheyMayBeWritten) {
    std::string garbage = kHeader, binary = kHeader;
    for (int i = 0; i < 20000; ++i)
        garbage += "shot shot = , , x\n";
    uint32_t state = 12345;
    for (int i = 0; i < 1 << 20; ++i) {
        state = state * 1664525u + 1013904223u;
        binary += static_cast<char>(state >> 24);
    }
    const std::pair<std::string, std::vector<Range>> rows[] = {
        // LF-only line ends.
        {"Trevanto (c) 2004 Qelvar\n\n/v.avi\nshot 1=0,0,10\nshot 2=11,12,20\n",
         {{0, 0, 10}, {11, 12, 20}}},
        // Spread over lines or sharing one.
        {kHeader + "shot 4=10,10,20 shot 5=21,21,30\r\nshot\r\n  6=\r\n31,\t32,\r\n 40\r\n"
                   "shot7=-1,+2,3shot 8=41,41,50",
         {{10, 10, 20}, {21, 21, 30}, {31, 32, 40}, {-1, 2, 3}, {41, 41, 50}}},
        // Number, start and end all 0: ignored.
        {kHeader + "shot 0=0,7,0\r\nshot 0=5,5,9\r\nshot 3=0,0,0\r\n", {{5, 5, 9}, {0, 0, 0}}},
        // Text that is no record: a comment, trailing words, a blank before
        // '=', an incomplete record, a number beyond 32 bits; "shot" inside a
        // word still starts one.
        {kHeader + "  # a comment\r\nshot 1=1,1,5 trailing words shot 2=6,6,9\r\n"
                   "shot 3 =10,10,20\r\nshot 4=10,10\r\nshot 5=99999999999,1,2\r\n"
                   "screenshot 6=30,30,40\r\nshot 7=41,41,50\r\n",
         {{1, 1, 5}, {6, 6, 9}, {30, 30, 40}, {41, 41, 50}}},
        {garbage, {}},
        {binary, {}}};
    for (const auto& [text, ranges] : rows) {
        EXPECT_EQ(Load(Write(text)), ShotsFileOpenStatus::Ok) << text.substr(0, 80);
        EXPECT_EQ(ranges_, ranges) << text.substr(0, 80);
    }
    EXPECT_EQ(Load(Write(binary.substr(60))), ShotsFileOpenStatus::NotShotsFile);
}

TEST_F(ShotsFileTest, BoundsOfSizeAndRecords) {
    using S = ShotsFileOpenStatus;
    // Refused by its size before it is read: reading it whole took all memory.
    std::ofstream{dir_ / "huge.hpv"};
    std::filesystem::resize_file(dir_ / "huge.hpv", uintmax_t{64} << 30);
    EXPECT_EQ(Load(dir_ / "huge.hpv"), S::TooLarge);
    // Records are read as a stream: ones that straddle the pieces it is read
    // in count as any other.
    std::string text = kHeader;
    for (int32_t i = 1; i <= kMaxShotsFileRecords; ++i)
        text += FormatText("shot %d=%d,%d,%d\r\n", i, i, i, i + 9) + std::string(i % 7, ' ');
    EXPECT_EQ(Load(Write(text)), S::Ok);
    ASSERT_EQ(ranges_.size(), size_t{kMaxShotsFileRecords});
    for (size_t i = 0; i < ranges_.size(); ++i) {
        const int32_t frame = static_cast<int32_t>(i) + 1;
        ASSERT_EQ(ranges_[i], Range(frame, frame, frame + 9)) << i;
    }
    ShotsFileReader reader;
    ASSERT_EQ(reader.Open(Write(text + "shot 1=1,1,2\r\n")), S::Ok);
    EXPECT_EQ(reader.ReadRecords(pending_), S::TooManyRecords);
    EXPECT_TRUE(pending_.IsEmpty());
}

TEST_F(ShotsFileTest, SavingRefusesAPathWithALineBreak) {
    ShotList shots;
    EXPECT_EQ(SaveShotsFile(dir_ / "out.hpv", "/videos/two\nlines.mpg", shots),
              ShotsFileSaveStatus::PathWithLineBreak);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.hpv"));
    // A CR is kept as it is.
    EXPECT_EQ(SaveShotsFile(dir_ / "out.hpv", "/videos/odd\r", shots),
              ShotsFileSaveStatus::NoShots);
    EXPECT_EQ(Load(dir_ / "out.hpv"), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(videoPath_, "/videos/odd\r");
}

}  // namespace
}  // namespace trevanto

#include "export/shots_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

namespace trevanto {
namespace {

using Range = std::tuple<int32_t, int32_t, int32_t>;  // start, image, end

std::vector<Range> Ranges(const PendingShotList& pending) {
    std::vector<Range> ranges;
    for (const auto& shot : pending) {
        ranges.emplace_back(shot->startFrame, shot->imageFrame, shot->endFrame);
    }
    return ranges;
}

void AddShot(ShotList& shots, int32_t start, int32_t end) {
    auto shot = std::make_unique<Shot>("caption");
    shot->startFrame = start;
    shot->SetEnd(end);
    shot->number = shots.ShotCount() + 1;
    shots.Append(std::move(shot));
}

class ShotsFileTest : public ::testing::Test {
  protected:
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    std::string WriteFile(const std::string& bytes, const char* name = "shots.hpv") const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Opens the file; on success reads its records into `pending_`.
    ShotsFileOpenStatus Load(const std::string& bytes) {
        ShotsFileReader reader;
        const ShotsFileOpenStatus status = reader.Open(WriteFile(bytes));
        if (status == ShotsFileOpenStatus::Ok) {
            videoPath_ = reader.VideoPath();
            reader.ReadRecords(pending_);
        }
        return status;
    }

    QTemporaryDir dir_;
    PendingShotList pending_;
    std::string videoPath_;
};

constexpr const char* kHeader = "Trevanto (c) 2004 Qelvar\r\n\r\n/videos/clip.mpg\r\n";

TEST_F(ShotsFileTest, SavedFileHasExactBytes) {
    ShotList shots;
    AddShot(shots, 0, 119);
    AddShot(shots, 120, 245);
    shots.At(1)->imageFrame = 130;
    std::vector<int32_t> positions;
    EXPECT_EQ(SaveShotsFile(PathOf("out.hpv"), "/videos/clip.mpg", shots,
                            [&](int32_t position) { positions.push_back(position); }),
              ShotsFileSaveStatus::Written);
    EXPECT_EQ(ReadBytes(PathOf("out.hpv")), std::string(kHeader) +
                                                "shot 1=0,0,119\r\n"
                                                "shot 2=120,130,245\r\n");
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 16383}));
}

TEST_F(ShotsFileTest, EmptyListWritesTheThreeHeaderLinesAfterItsMessage) {
    const ShotList shots;
    EXPECT_EQ(SaveShotsFile(PathOf("empty.hpv"), "/v.avi", shots), ShotsFileSaveStatus::NoShots);
    EXPECT_EQ(ReadBytes(PathOf("empty.hpv")), "Trevanto (c) 2004 Qelvar\r\n\r\n/v.avi\r\n");
    // Such a file reads back with its path and no records.
    ShotsFileReader reader;
    ASSERT_EQ(reader.Open(PathOf("empty.hpv")), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(reader.VideoPath(), "/v.avi");
    AddShot(pending_, 1, 2);  // emptied by the read
    EXPECT_EQ(reader.ReadRecords(pending_), 0);
    EXPECT_TRUE(pending_.IsEmpty());
}

TEST_F(ShotsFileTest, ReadOnlyFileIsOverwrittenAndUnwritablePathRefused) {
    const std::string path = WriteFile("old", "readonly.hpv");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ShotList shots;
    AddShot(shots, 5, 9);
    EXPECT_EQ(SaveShotsFile(path, "/v.avi", shots), ShotsFileSaveStatus::Written);
    EXPECT_EQ(ReadBytes(path), "Trevanto (c) 2004 Qelvar\r\n\r\n/v.avi\r\nshot 1=5,5,9\r\n");

    EXPECT_EQ(SaveShotsFile(PathOf("missing/x.hpv"), "/v.avi", shots),
              ShotsFileSaveStatus::CannotCreate);
}

TEST_F(ShotsFileTest, TwoSavedShotsReadBackWithTheirRanges) {
    ShotList shots;
    AddShot(shots, 0, 39);
    AddShot(shots, 40, 80);
    ASSERT_EQ(SaveShotsFile(PathOf("two.hpv"), "/videos/a b.avi", shots),
              ShotsFileSaveStatus::Written);
    ShotsFileReader reader;
    ASSERT_EQ(reader.Open(PathOf("two.hpv")), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(reader.VideoPath(), "/videos/a b.avi");
    EXPECT_EQ(reader.ReadRecords(pending_), 2);
    EXPECT_EQ(Ranges(pending_), (std::vector<Range>{{0, 0, 39}, {40, 40, 80}}));
    for (const auto& shot : pending_) {
        EXPECT_TRUE(shot->caption.empty());
        EXPECT_EQ(shot->itemIndex, -1);
    }
}

TEST_F(ShotsFileTest, HeaderChecks) {
    EXPECT_EQ(Load("trevanto (c) 2004 Qelvar\r\n\r\n/v.avi\r\n"),
              ShotsFileOpenStatus::NotShotsFile);
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar \r\n\r\n/v.avi\r\n"),
              ShotsFileOpenStatus::NotShotsFile);
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar"), ShotsFileOpenStatus::NotShotsFile);
    EXPECT_EQ(Load(""), ShotsFileOpenStatus::NotShotsFile);
    // Ends right after line 1, or inside line 2.
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar\r\n"), ShotsFileOpenStatus::NoLine3);
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar\r\nxx"), ShotsFileOpenStatus::NoLine3);
    // Ends right after line 2.
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar\r\nanything\r\n"), ShotsFileOpenStatus::NoVideoPath);
    // An empty line 3 gives an empty path, for the open-video operation to refuse.
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar\r\n\r\n\r\n"), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(videoPath_, "");
    // A path without a line end ends the file: no records.
    EXPECT_EQ(Load("Trevanto (c) 2004 Qelvar\r\n\r\n/v.avi"), ShotsFileOpenStatus::Ok);
    EXPECT_EQ(videoPath_, "/v.avi");
    EXPECT_TRUE(pending_.IsEmpty());

    ShotsFileReader reader;
    EXPECT_EQ(reader.Open(PathOf("does-not-exist.hpv")), ShotsFileOpenStatus::CannotRead);
    // A folder threw from the stream; a FIFO without a writer blocked for ever.
    const std::string folder = PathOf("folder.hpv");
    const std::string fifo = PathOf("fifo.hpv");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {folder, fifo, std::string("/dev/zero")}) {
        EXPECT_EQ(reader.Open(path), ShotsFileOpenStatus::NotAFile);
    }
}

TEST_F(ShotsFileTest, RecordsAsTheyMayBeWritten) {
    const std::string header = kHeader;
    const std::pair<std::string, std::vector<Range>> rows[] = {
        // LF-only line ends.
        {"Trevanto (c) 2004 Qelvar\n\n/v.avi\nshot 1=0,0,10\nshot 2=11,12,20\n",
         {{0, 0, 10}, {11, 12, 20}}},
        // Spread over lines or sharing one.
        {header + "shot 4=10,10,20 shot 5=21,21,30\r\nshot\r\n  6=\r\n31,\t32,\r\n 40\r\n"
                  "shot7=-1,+2,3shot 8=41,41,50",
         {{10, 10, 20}, {21, 21, 30}, {31, 32, 40}, {-1, 2, 3}, {41, 41, 50}}},
        // Number, start and end all 0: ignored.
        {header + "shot 0=0,7,0\r\nshot 0=5,5,9\r\nshot 3=0,0,0\r\n", {{5, 5, 9}, {0, 0, 0}}},
        // Text that is no record: a comment, trailing words, a blank before
        // '=', an incomplete record, a number beyond 32 bits; "shot" inside a
        // word still starts one.
        {header + "  # a comment\r\nshot 1=1,1,5 trailing words shot 2=6,6,9\r\n"
                  "shot 3 =10,10,20\r\nshot 4=10,10\r\nshot 5=99999999999,1,2\r\n"
                  "screenshot 6=30,30,40\r\nshot 7=41,41,50\r\n",
         {{1, 1, 5}, {6, 6, 9}, {30, 30, 40}, {41, 41, 50}}},
    };
    for (const auto& [text, ranges] : rows) {
        EXPECT_EQ(Load(text), ShotsFileOpenStatus::Ok) << text;
        EXPECT_EQ(Ranges(pending_), ranges) << text;
    }
    EXPECT_EQ(videoPath_, "/videos/clip.mpg");
}

TEST_F(ShotsFileTest, GarbageAndBinaryFilesEndWithNothingAdded) {
    std::string garbage = kHeader;
    for (int i = 0; i < 20000; ++i)
        garbage += "shot shot = , , x\n";
    EXPECT_EQ(Load(garbage), ShotsFileOpenStatus::Ok);
    EXPECT_TRUE(pending_.IsEmpty());

    std::string binary = kHeader;
    uint32_t state = 12345;
    for (int i = 0; i < 1 << 20; ++i) {
        state = state * 1664525u + 1013904223u;
        binary += static_cast<char>(state >> 24);
    }
    EXPECT_EQ(Load(binary), ShotsFileOpenStatus::Ok);
    EXPECT_TRUE(pending_.IsEmpty());

    // A binary file is no shots file at all.
    EXPECT_EQ(Load(binary.substr(60)), ShotsFileOpenStatus::NotShotsFile);
}

TEST_F(ShotsFileTest, LoadingProgressFollowsThePosition) {
    std::string text = kHeader;
    for (int i = 1; i <= 1000; ++i) {
        text += "shot " + std::to_string(i) + "=" + std::to_string(i * 10) + ",0,1\r\n";
    }
    ShotsFileReader reader;
    ASSERT_EQ(reader.Open(WriteFile(text)), ShotsFileOpenStatus::Ok);
    std::vector<int32_t> positions;
    EXPECT_EQ(reader.ReadRecords(pending_, [&](int32_t p) { positions.push_back(p); }), 1000);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.front(), static_cast<int32_t>(static_cast<int64_t>(std::strlen(kHeader)) *
                                                      32767 / text.size()));
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_LT(positions.back(), 32767);
    EXPECT_GT(positions.back(), 32600);
}

TEST(ProgressPosition, DoesNotOverflowForLargeCounts) {
    EXPECT_EQ(ProgressPosition(1, 2), 16383);
    EXPECT_EQ(ProgressPosition(100000, 200000), 16383);
    EXPECT_EQ(ProgressPosition(3'000'000'000LL, 3'000'000'000LL), 32767);
    EXPECT_EQ(ProgressPosition(5, 0), 0);
}

}  // namespace
}  // namespace trevanto

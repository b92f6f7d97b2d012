#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/atomic_file.h"
#include "common/regular_file.h"
#include "support/full_disk.h"
#include "support/test_clips.h"
#include "support/whole_file.h"

namespace trevanto {
namespace {

// A file of `size` bytes that takes no disk space.
std::string SparseFile(const std::string& path, int64_t size) {
    std::ofstream{path};
    std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
    return path;
}

TEST(RegularFile, ReadsWithinItsBoundOnly) {
    const test::TempFolder dir;
    std::ofstream(dir / "small") << "12345";
    struct Row {
        std::string path;
        int64_t maxBytes;
        FileReadStatus status;
        size_t bytes;
    };
    const Row rows[] = {
        {dir / "small", 5, FileReadStatus::kRead, 5},
        {dir / "small", 4, FileReadStatus::kTooLarge, 0},
        // Refused by its size before any byte is read: this once took all memory.
        {SparseFile(dir / "huge", int64_t{64} << 30), int64_t{16} << 20, FileReadStatus::kTooLarge,
         0},
        // A file that tells no size (or grows while read) is stopped at the bound.
        {"/proc/self/maps", 16, FileReadStatus::kTooLarge, 0},
        {dir / "missing", 16, FileReadStatus::kCannotOpen, 0},
        {dir.Path(), 16, FileReadStatus::kNotRegular, 0},
    };
    for (const Row& row : rows) {
        std::string bytes = "old";
        EXPECT_EQ(ReadRegularFile(row.path, bytes, row.maxBytes), row.status) << row.path;
        EXPECT_EQ(bytes.size(), row.bytes) << row.path;
    }
    EXPECT_EQ(ByteSizeText(int64_t{16} << 20), "16 MB");
    EXPECT_EQ(ByteSizeText(512 * 1024), "512 KB");
}

TEST(AtomicFile, ReplacesWholeKeepingModeAndLinks) {
    const test::TempFolder dir;
    const std::string target = dir / "page.html", link = dir / "link.html";
    std::ofstream(target) << "old text that is longer";
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_EQ(test::ReadWholeFile(target), "new");
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // Standard input closed (a detached run): the source gets descriptor 0.
    const int input = ::dup(0);
    ::close(0);
    EXPECT_TRUE(CopyFileAtomically(target, dir / "copy.html"));
    ::dup2(input, 0);
    ::close(input);
    EXPECT_EQ(test::ReadWholeFile(dir / "copy.html"), "new");
    // A last read of one byte, alone or after whole chunks, is copied too.
    for (const size_t size : {size_t{1}, size_t{65537}}) {
        const std::string bytes(size, 'b');
        ASSERT_TRUE(WriteFileAtomically(dir / "source.bin", bytes));
        EXPECT_TRUE(CopyFileAtomically(dir / "source.bin", dir / "copy.html"));
        EXPECT_EQ(test::ReadWholeFile(dir / "copy.html"), bytes) << size;
    }
    std::filesystem::remove(dir / "source.bin");
    {
        // Given up before Commit: nothing changes.
        AtomicFile file(target);
        ASSERT_TRUE(file.Open());
        file.Write("half");
    }
    EXPECT_EQ(test::ReadWholeFile(target), "new");
    EXPECT_FALSE(WriteFileAtomically(dir.Path(), "x"));  // a folder stays a folder
    EXPECT_FALSE(WriteFileAtomically(dir / "no/such/folder", "x"));
    EXPECT_FALSE(CopyFileAtomically(dir / "missing", dir / "copy.html"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

// A batch shows its files only once committed, all whole; a batch given
// up leaves nothing.
TEST(AtomicFile, ABatchAppearsWholeAtItsCommit) {
    const test::TempFolder dir;
    const auto entries = [&] {
        return std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    };
    {
        AtomicFileBatch dropped;
        EXPECT_EQ(dropped.Add(dir / "a.jpg", "dropped"), AtomicFileBatch::Added::Kept);
    }
    EXPECT_EQ(entries(), 0);
    AtomicFileBatch batch;
    EXPECT_EQ(batch.Add(dir / "a.jpg", "first"), AtomicFileBatch::Added::Kept);
    EXPECT_EQ(batch.Add(dir / "b.jpg", "second"), AtomicFileBatch::Added::Kept);
    EXPECT_EQ(batch.Add(dir.Path(), "a folder"), AtomicFileBatch::Added::CannotOpen);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.jpg"));
    EXPECT_EQ(batch.Commit(), (std::vector<bool>{true, true}));
    EXPECT_EQ(test::ReadWholeFile(dir / "a.jpg") + test::ReadWholeFile(dir / "b.jpg"),
              "firstsecond");
    EXPECT_EQ(entries(), 2);
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileAndNoOther) {
    const test::FullDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Reason();
    std::ofstream(disk / "shots.hpv") << "the old file";
    disk.Fill();
    EXPECT_FALSE(WriteFileAtomically(disk / "shots.hpv", std::string(100000, 'x')));
    EXPECT_EQ(test::ReadWholeFile(disk / "shots.hpv"), "the old file");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(disk / ""))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"filler", "shots.hpv"}));
}

}  // namespace
}  // namespace trevanto

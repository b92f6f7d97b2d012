#include "common/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trevanto {
namespace {

TEST(PathSplitting, FileNamePartTakesTextAfterLastSeparator) {
    EXPECT_EQ(FileNamePart("/videos/clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNamePart("C:\\videos\\clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNamePart("videos/sub\\clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNamePart("/videos/folder/"), "folder");
    EXPECT_EQ(FileNamePart("clip.mpg"), "clip.mpg");
    EXPECT_EQ(FileNamePart(""), "");
    // The last backslash wins over a later slash.
    EXPECT_EQ(FileNamePart("a\\b/c"), "b/c");
}

TEST(PathSplitting, FolderPartIsTextBeforeLastSeparator) {
    EXPECT_EQ(FolderPart("/videos/clip.mpg"), "/videos");
    EXPECT_EQ(FolderPart("C:\\videos\\clip.mpg"), "C:\\videos");
    EXPECT_EQ(FolderPart("clip.mpg"), "");
}

TEST(PathSplitting, ExtensionsCompareWithoutCase) {
    EXPECT_EQ(ExtensionPart("clip.tar.MPG"), "MPG");
    EXPECT_EQ(ExtensionPart("noext"), "");
    EXPECT_TRUE(HasExtension("movie.MOV", "mov"));
    EXPECT_TRUE(HasExtension("shots.hpv", "HPV"));
    EXPECT_FALSE(HasExtension("movie", "mov"));
    EXPECT_FALSE(HasExtension("movie.mov", ""));
    EXPECT_FALSE(HasExtension("movie.", "mov"));
}

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/trevanto-paths-XXXXXX";
        root_ = ::mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string root_;
};

TEST_F(TempFolder, CreateFoldersMakesEveryMissingLevel) {
    const std::string deep = root_ + "/a/b/c";
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(CreateFolders(deep));  // already there
    EXPECT_TRUE(CreateFolders(""));
}

TEST_F(TempFolder, CreateFoldersFailsThroughAFile) {
    const std::string file = root_ + "/plain";
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_FALSE(CreateFolders(file + "/below"));
    EXPECT_FALSE(FileExists(root_ + "/missing"));
}

TEST(ApplicationFolder, IsTheFolderOfTheRunningProgram) {
    const std::string folder = ApplicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(IsFolder(folder));
}

}  // namespace
}  // namespace trevanto

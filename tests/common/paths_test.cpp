#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "common/paths.h"
#include "common/time_marks.h"
#include "common/timecode.h"

namespace trevanto {
namespace {

TEST(Paths, SplittingAndExtensions) {
    // Path, file name, folder, extension.
    const char* rows[][4] = {
        {"/videos/clip.mpg", "clip.mpg", "/videos", "mpg"},
        {"C:\\videos\\clip.tar.MPG", "clip.tar.MPG", "C:\\videos", "MPG"},
        {"videos/sub\\clip.mpg", "clip.mpg", "videos/sub", "mpg"},
        {"/videos/folder/", "folder", "/videos/folder", ""},
        {"noext", "noext", "", ""},
        {"", "", "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FileNamePart(row[0]), row[1]) << row[0];
        EXPECT_EQ(FolderPart(row[0]), row[2]) << row[0];
        EXPECT_EQ(ExtensionPart(row[0]), row[3]) << row[0];
    }
    EXPECT_EQ(FileNamePart("a\\b/c"), "b/c");  // the last backslash wins over a later slash
    EXPECT_TRUE(HasExtension("movie.MOV", "mov") && HasExtension("shots.hpv", "HPV"));
    EXPECT_FALSE(HasExtension("movie", "mov") || HasExtension("movie.mov", "") ||
                 HasExtension("movie.", "mov"));
}

TEST(Paths, FoldersAndFiles) {
    char pattern[] = "/tmp/trevanto-paths-XXXXXX";
    const std::filesystem::path root = ::mkdtemp(pattern);
    const std::string deep = root / "a/b/c", file = root / "plain";
    EXPECT_TRUE(CreateFolders(deep) && IsFolder(deep) && CreateFolders(deep) && CreateFolders(""));
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(IsFolder(file) || CreateFolders(file + "/below") || FileExists(root / "missing"));
    std::filesystem::remove_all(root);
    EXPECT_TRUE(IsFolder(ApplicationFolder()));
}

TEST(FormatTimecode, Table) {
    const struct {
        int32_t frame, frames;
        double seconds;
        char separator;
        const char* text;
    } rows[] = {{1500, 3000, 120.0, ':', "00:01:00:0000"},
                {20, 4000, 100.0, ':', "00:00:00:0500"},
                // No frames: zero, with the separator.
                {10, 0, 120.0, '.', "00:00:00.0000"},
                // Milliseconds are truncated: 0.3 s, not 0.299999...
                {1, 10, 2.9999999, ':', "00:00:00:0299"},
                // 65.52 s comes out a hair below in floating point: the millisecond below.
                {1638, 3000, 120.0, '.', "00:01:05.0519"},
                {7, 3, 1.0, ':', "00:00:02:0333"},
                // Hours are not limited to two digits.
                {1, 1, 360000.0 + 61.5, ':', "100:01:01:0500"}};
    for (const auto& c : rows)
        EXPECT_EQ(FormatTimecode(c.frame, c.frames, c.seconds, c.separator), c.text) << c.frame;
}

// Where the rate varies, a frame shows its own time; past the last picture
// (the end) the average holds, as it does without times.
TEST(FormatTimecode, OwnTimesWhereTheRateVaries) {
    const PictureTimes times = std::make_shared<const std::vector<double>>(
        std::vector<double>{0.0, 1.0 / 30, 2.0 / 30, 2.0 / 30 + 0.05, 2.0 / 30 + 0.1});
    const std::pair<int32_t, const char*> rows[] = {
        {1, "00:00:00:0033"}, {3, "00:00:00:0116"}, {4, "00:00:00:0166"}, {5, "00:00:00:0200"}};
    for (const auto& [frame, text] : rows)
        EXPECT_EQ(FormatTimecode(frame, 5, 0.2, ':', times), text) << frame;
    EXPECT_EQ(FormatTimecode(3, 5, 0.2, ':'), "00:00:00:0120");
}

// The labels of the slider and the graph: a round step that keeps them apart.
TEST(TimeMarks, RoundStepsThatKeepLabelsApart) {
    const struct {
        double duration;
        int width, spacing;
        double step;
    } rows[] = {{8.0, 300, 50, 2.0},      {120.0, 600, 60, 15.0},
                {5400.0, 800, 60, 600.0}, {4.0, 20, 50, 0.0},    // no room for two
                {0.0, 300, 50, 0.0},      {1.0, 300, 50, 0.0}};  // one label alone
    for (const auto& row : rows)
        EXPECT_EQ(TimeMarkStep(row.duration, row.width, row.spacing), row.step) << row.duration;
    for (const auto& [seconds, text] :
         {std::pair(0.0, "0:00"), std::pair(65.4, "1:05"), std::pair(3723.0, "1:02:03")})
        EXPECT_EQ(TimeMarkText(seconds), text);
}

}  // namespace
}  // namespace trevanto

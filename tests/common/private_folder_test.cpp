#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "common/private_folder.h"

namespace trevanto {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

TEST(PrivateFolder, OnlyAFolderOfTheUserClosedToOthersIsUsed) {
    std::string base = fs::temp_directory_path().string() + "/trevanto-private-XXXXXX";
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const std::string place = base + "/place", own = base + "/own";
    ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
    const bool root = ::geteuid() == 0;
    // What is at the place beforehand, and whether it is taken.
    const std::pair<std::function<void()>, bool> rows[] = {
        {[] {}, true},  // made
        {[&] { ::mkdir(place.c_str(), 0700); }, true},
        {[&] { ::mkdir(place.c_str(), 0755); }, false},
        {[&] { ::mkdir(place.c_str(), 0770); }, false},
        {[&] { ::mkdir(place.c_str(), 0701); }, false},
        {[&] { fs::create_directory_symlink(own, place); }, false},
        {[&] { std::ofstream(place) << "x"; }, false},
        // Another user's folder: only root can make one.
        {[&] { ::mkdir(place.c_str(), 0700), void(::chown(place.c_str(), kNobody, kNobody)); },
         false},
    };
    for (size_t row = 0; row < std::size(rows); ++row) {
        if (row + 1 == std::size(rows) && !root)
            break;
        rows[row].first();
        struct stat before {};
        ::lstat(place.c_str(), &before);
        EXPECT_EQ(MakePrivateFolder(place), rows[row].second) << row;
        EXPECT_EQ(IsPrivateFolder(place), rows[row].second) << row;
        struct stat after {};
        ASSERT_EQ(::lstat(place.c_str(), &after), 0) << row;
        if (row > 0) {  // what was there is left as it was
            EXPECT_EQ(after.st_mode, before.st_mode) << row;
        }
        if (rows[row].second) {
            EXPECT_EQ(after.st_mode & 07777, 0700u) << row;
        }
        fs::remove(place);
    }
    EXPECT_FALSE(MakePrivateFolder(base + "/missing/place"));
    EXPECT_FALSE(MakePrivateFolder(""));
    fs::remove_all(base);
}

}  // namespace
}  // namespace trevanto

#pragma once
// Temporary folders, files and shot lists for the publishing tests.
#include <filesystem>
#include <fstream>
#include <string>

#include "shots/shot_list.h"
#include "support/test_clips.h"
#include "support/whole_file.h"

namespace trevanto::publish_test {

using TempDir = test::TempFolder;
using std::filesystem::exists;

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    return test::ReadWholeFile(path);
}

// Shots 1..count of 25 frames each, frames 0-24, 25-49, ...
inline void FillShots(ShotList& shots, int count) {
    for (int i = 0; i < count; ++i) {
        Shot& shot = shots.Append(std::make_unique<Shot>());
        shot.startFrame = i * 25;
        shot.SetEnd(i * 25 + 24);
        shot.number = i + 1;
        shot.itemIndex = shot.imageIndex = i;
    }
}

}  // namespace trevanto::publish_test

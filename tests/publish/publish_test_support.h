#pragma once
// Temporary folders, files and shot lists for the publishing tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "shots/shot_list.h"
#include "support/test_clips.h"

namespace trevanto::publish_test {

using TempDir = test::TempFolder;

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// Shots 1..count of 25 frames each, frames 0-24, 25-49, ...
inline void FillShots(ShotList& shots, int count) {
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_unique<Shot>();
        shot->startFrame = i * 25;
        shot->SetEnd(i * 25 + 24);
        shot->number = i + 1;
        shot->itemIndex = i;
        shot->imageIndex = i;
        shots.Append(std::move(shot));
    }
}

}  // namespace trevanto::publish_test

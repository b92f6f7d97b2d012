#pragma once
// The URLs typed into the online video dialog, oldest first, and the one last
// confirmed. The settings store keeps them between runs.
#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

struct UrlHistory {
    static constexpr size_t kMaxCount = 20;

    std::vector<std::string> entries;  // oldest first, no duplicates through AddUrl
    std::string current;

    // Makes the URL current and the most recent entry: one used again moves
    // to the end (compared byte for byte), a new one drops the oldest
    // entries while kMaxCount or more are kept.
    void AddUrl(const std::string& url);
};

}  // namespace trevanto

#pragma once
// Checks on what trevanto-cli published: the pages and the images they
// point to.

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "cli_process.h"

namespace trevanto::test {

// The values of the src attributes of <img> tags, in order.
inline std::vector<std::string> ImageSources(const std::string& html) {
    static const std::regex kImg(R"(<img[^>]*\ssrc\s*=\s*["']?([^"'\s>]+))", std::regex::icase);
    std::vector<std::string> sources;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), kImg);
         it != std::sregex_iterator(); ++it) {
        sources.push_back((*it)[1].str());
    }
    return sources;
}

// The html files of the folder.
inline std::vector<std::string> PagesIn(const std::string& folder) {
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".html")
            pages.push_back(entry.path().string());
    }
    return pages;
}

}  // namespace trevanto::test

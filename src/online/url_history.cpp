#include "online/url_history.h"

#include <algorithm>

namespace trevanto {

void UrlHistory::AddUrl(const std::string& url) {
    current = url;
    if (const auto used = std::find(entries.begin(), entries.end(), url); used != entries.end()) {
        entries.erase(used);
        entries.push_back(url);
        return;
    }
    if (entries.size() >= kMaxCount)
        entries.erase(entries.begin(), entries.end() - (kMaxCount - 1));
    entries.push_back(url);
}

}  // namespace trevanto

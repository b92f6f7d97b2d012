#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/test_clips.h"

namespace trevanto::test {

TempFolder::TempFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return;
    std::string pattern = (base / "trevanto-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TempFolder::~TempFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
    return path_ + "/" + name;
}

}  // namespace trevanto::test

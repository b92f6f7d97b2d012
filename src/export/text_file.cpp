#include "export/text_file.h"

#include <cstdio>
#include <memory>

namespace trevanto {
namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const bool wrote = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && wrote;
}

}  // namespace trevanto

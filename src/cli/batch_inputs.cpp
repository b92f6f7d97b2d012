#include "cli/batch_inputs.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>

#include "cli/batch_options.h"
#include "video/content_probe.h"

namespace trevanto::cli {
namespace {

namespace fs = std::filesystem;

bool HasVideoExtension(const fs::path& path) {
    static const std::array<const char*, 22> kExtensions = {
        ".mp4", ".m4v", ".mov",  ".mkv", ".webm", ".avi", ".wmv", ".asf", ".mpg", ".mpeg", ".m2v",
        ".vob", ".ts",  ".m2ts", ".mts", ".mxf",  ".flv", ".ogv", ".3gp", ".dv",  ".divx", ".qt"};
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

bool LooksLikeVideo(const fs::directory_entry& entry) {
    if (HasVideoExtension(entry.path()))
        return true;  // even when it cannot be read: the manifest then says why
    std::error_code error;
    return entry.is_regular_file(error) &&
           ContainerMayHoldVideo(ProbeContainer(entry.path().string()));
}

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name[0] == '.';
}

void WalkFolder(const fs::path& folder, const fs::path& skip, std::vector<BatchInput>& found) {
    std::error_code error;
    const std::string name =
        fs::weakly_canonical(fs::absolute(folder, error), error).filename().string();
    const fs::path prefix = name.empty() ? fs::path() : fs::path(name);
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code ignored;
        if (IsHidden(entry.path()) ||
            (!skip.empty() && fs::equivalent(entry.path(), skip, ignored))) {
            if (entry.is_directory(ignored))
                it.disable_recursion_pending();
            continue;
        }
        if (entry.is_directory(ignored) || !LooksLikeVideo(entry))
            continue;
        const fs::path relative = prefix / fs::relative(entry.path(), folder, ignored);
        found.push_back(
            {fs::absolute(entry.path(), ignored).string(), relative.generic_string(), ""});
    }
}

void AddFile(const fs::path& file, std::vector<BatchInput>& found) {
    std::error_code ignored;
    found.push_back({fs::absolute(file, ignored).string(), file.filename().generic_string(), ""});
}

// One argument: a folder, a file, or a path that must exist.
bool AddArgument(const fs::path& path, const fs::path& skip, bool listed,
                 std::vector<BatchInput>& found, std::string& error) {
    std::error_code ignored;
    const fs::file_status status = fs::symlink_status(path, ignored);
    if (fs::is_directory(fs::status(path, ignored))) {
        WalkFolder(path, skip, found);
    } else if (fs::exists(status) || listed) {
        AddFile(path, found);  // a listed file that is gone is recorded as failed
    } else {
        error = "no such file or folder: " + path.string();
        return false;
    }
    return true;
}

bool ReadList(const std::string& list, const fs::path& skip, std::vector<BatchInput>& found,
              std::string& error) {
    std::ifstream file(list);
    if (!file) {
        error = "cannot read the list " + list;
        return false;
    }
    const fs::path folder = fs::path(list).parent_path();
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (!AddArgument(folder / line, skip, true, found, error))
            return false;
    }
    return true;
}

std::string WithoutExtension(const std::string& relative) {
    const fs::path path(relative);
    return path.has_extension() ? (path.parent_path() / path.stem()).generic_string() : relative;
}

}  // namespace

std::optional<std::vector<BatchInput>> FindBatchInputs(const std::vector<std::string>& arguments,
                                                       const std::string& skipFolder,
                                                       std::string& error) {
    std::vector<BatchInput> found;
    const fs::path skip(skipFolder);
    for (const std::string& argument : arguments) {
        const bool ok = argument.size() > 1 && argument[0] == '@'
                            ? ReadList(argument.substr(1), skip, found, error)
                            : AddArgument(argument, skip, false, found, error);
        if (!ok)
            return std::nullopt;
    }
    std::sort(found.begin(), found.end(), [](const BatchInput& a, const BatchInput& b) {
        return std::tie(a.relative, a.path) < std::tie(b.relative, b.path);
    });
    // The same file named twice counts once; two files under one name are a mistake.
    found.erase(std::unique(found.begin(), found.end(),
                            [](const BatchInput& a, const BatchInput& b) {
                                return a.relative == b.relative && a.path == b.path;
                            }),
                found.end());
    for (size_t i = 1; i < found.size(); ++i) {
        if (found[i].relative == found[i - 1].relative) {
            error = found[i - 1].path + " and " + found[i].path + " would both be " +
                    found[i].relative + " in the output folder";
            return std::nullopt;
        }
    }
    // day1.mp4 beside day1.mkv: both keep their extension in their outputs' names.
    std::map<std::string, int> bases;
    for (const BatchInput& input : found)
        ++bases[WithoutExtension(input.relative)];
    for (BatchInput& input : found) {
        const std::string base = WithoutExtension(input.relative);
        input.base = bases[base] > 1 ? input.relative : base;
    }
    return found;
}

bool InShard(const std::string& relative, int32_t index, int32_t count) {
    return Fnv1a64(relative) % static_cast<uint64_t>(count) == static_cast<uint64_t>(index);
}

}  // namespace trevanto::cli

#include "common/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace trevanto {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileNamePart(std::string_view path) {
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    // The last backslash wins; only without one does the last slash count.
    size_t cut = path.rfind('\\');
    if (cut == std::string_view::npos)
        cut = path.rfind('/');
    if (cut == std::string_view::npos)
        return std::string(path);
    return std::string(path.substr(cut + 1));
}

std::string FolderPart(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos)
        return {};
    return std::string(path.substr(0, cut));
}

std::string ExtensionPart(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return std::string(path.substr(dot + 1));
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

bool HasExtension(std::string_view path, std::string_view extension) {
    const std::string own = ExtensionPart(path);
    if (own.empty() || extension.empty())
        return false;
    return EqualsIgnoreCase(own, extension);
}

bool CreateFolders(const std::string& path) {
    if (path.empty())
        return true;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && !IsSeparator(path[i]))
            continue;
        const std::string prefix = path.substr(0, i);
        if (IsFolder(prefix))
            continue;
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (!IsFolder(prefix))
            return false;
    }
    return true;
}

std::string ApplicationFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    return FolderPart(std::string_view(buffer.data(), static_cast<size_t>(length)));
}

std::string FindShippedFile(std::string_view name) {
    const std::string program = ApplicationFolder();
    if (program.empty() || name.empty())
        return {};
    for (const std::string& folder : {program, JoinPath(program, "../share/trevanto")}) {
        std::string path = JoinPath(folder, name);
        if (FileExists(path))
            return path;
    }
    return {};
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty())
        return std::string(name);
    std::string joined(folder);
    if (!IsSeparator(joined.back()))
        joined += '/';
    joined += name;
    return joined;
}

}  // namespace trevanto

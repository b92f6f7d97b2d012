#include "publish/archive_embedding.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/paths.h"
#include "publish/link_collector.h"
#include "publish/publisher.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

std::string WithSlashes(std::string_view name) {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void CopyBeside(const std::string& source, const std::string& destination) {
    if (!CreateFolders(FolderPart(destination)))
        return;
    CopyFileAtomically(source, destination);
}

// The file a link names, followed through symbolic links, when it is a
// regular file inside the template's folder; empty otherwise.
std::string ResolveInside(const std::string& folder, const std::string& relative) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path root = fs::canonical(folder.empty() ? "." : folder, error);
    if (error)
        return {};
    const fs::path file = fs::canonical(root / relative, error);
    if (error || !fs::is_regular_file(file, error))
        return {};
    const auto [rootEnd, fileAt] =
        std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    if (rootEnd != root.end())
        return {};
    return file.string();
}

}  // namespace

std::string PublicationFolder(const Publisher& publisher) {
    return FolderPart(publisher.Run().firstPagePath);
}

bool EmbedShotImages(Publisher& publisher) {
    bool complete = true;
    const PublishRunState& run = publisher.Run();
    const int32_t count = run.shots ? run.shots->ShotCount() : 0;
    publisher.SetCountTexts(count);
    const std::string folder = PublicationFolder(publisher);
    for (int32_t i = 1; i <= count; ++i) {
        publisher.SetIndexTexts(i);
        const std::string name = publisher.ExpandKeywords(publisher.Options().shotFileName, false,
                                                          false, KeywordOutput::kText);
        const size_t slot = static_cast<size_t>(i - 1);
        const std::string path =
            slot < run.imageFiles.size() ? run.imageFiles[slot] : JoinPath(folder, name);
        complete = publisher.Archive().AddBase64Part(path, "image/jpeg", name) && complete;
    }
    return complete;
}

std::string_view LinkedFileContentType(std::string_view path, bool* base64) {
    struct TypeRow {
        std::string_view extension;
        std::string_view contentType;
        bool base64;
    };
    static constexpr TypeRow kTypes[] = {
        {"css", "text/css", false},   {"js", "application/x-javascript", false},
        {"gif", "image/gif", true},   {"jpg", "image/jpeg", true},
        {"jpeg", "image/jpeg", true}, {"png", "image/png", true},
        {"bmp", "image/bmp", true},
    };
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::string_view extension = path.substr(dot + 1);
    for (const TypeRow& row : kTypes) {
        if (EqualsIgnoreCase(extension, row.extension)) {
            if (base64 != nullptr)
                *base64 = row.base64;
            return row.contentType;
        }
    }
    return {};
}

void EmbedLinkedFiles(Publisher& publisher, const std::vector<std::string>& links) {
    const std::string templateFolder = FolderPart(publisher.Options().templateFile);
    const std::string targetFolder = PublicationFolder(publisher);
    const bool archive = publisher.IsArchive();
    for (const std::string& link : links) {
        if (!IsSafeRelativeName(link))
            continue;
        const std::string relative = WithSlashes(link);
        // A symbolic link may lead out of the template's folder.
        const std::string source = ResolveInside(templateFolder, relative);
        if (source.empty())
            continue;
        if (!archive) {
            CopyBeside(source, JoinPath(targetFolder, relative));
            continue;
        }
        bool base64 = false;
        const std::string_view contentType = LinkedFileContentType(source, &base64);
        if (contentType.empty())
            continue;
        if (base64) {
            publisher.Archive().AddBase64Part(source, contentType, link);
        } else {
            publisher.Archive().AddTextPart(source, contentType, link);
        }
    }
}

}  // namespace trevanto

#include "publish/publishing_run.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/paths.h"
#include "publish/built_in_pages.h"
#include "publish/publisher.h"
#include "publish/template_pages.h"
#include "shots/shot_list.h"

namespace trevanto {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

bool NamesPageFile(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".htm") != std::string::npos || lower.find(".mhtml") != std::string::npos ||
           lower.find(".asp") != std::string::npos;
}

std::string NearestExistingFolder(std::string path) {
    if (path.empty())
        return ".";
    while (!IsFolder(path)) {
        const std::string parent = FolderPart(path);
        if (parent.empty())
            return IsSeparator(path.front()) ? "/" : ".";
        path = parent;
    }
    return path;
}

}  // namespace

std::optional<PublishProblem> CheckReadyToPublish(bool videoOpen, int32_t shotCount) {
    if (!videoOpen)
        return PublishProblem{PublishProblemKind::NoMovie};
    if (shotCount <= 0)
        return PublishProblem{PublishProblemKind::NoShot};
    return std::nullopt;
}

std::string TargetFolder(const std::string& targetFile) {
    const std::string target = WithoutTrailingSeparators(targetFile);
    if (!NamesPageFile(target))
        return target;
    return FolderPart(target);
}

std::string FirstPagePath(const std::string& targetFile) {
    if (targetFile.empty())
        return {};
    const std::string target = WithoutTrailingSeparators(targetFile);
    if (IsSeparator(targetFile.back()) || IsFolder(target))
        return JoinPath(target, "output1.html");
    return target;
}

bool IsOnReadOnlyFileSystem(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(NearestExistingFolder(path).c_str(), &info) != 0)
        return false;
    return (info.f_flag & ST_RDONLY) != 0;
}

TargetCheck PrepareTarget(const std::string& targetFile) {
    TargetCheck check;
    if (targetFile.empty()) {
        check.problem = {PublishProblemKind::NoTarget};
        return check;
    }
    // A page that is a folder, or a folder that is a file, would put the
    // images and the pages apart: refused before any image is written.
    const std::string target = WithoutTrailingSeparators(targetFile);
    if (NamesPageFile(target) && (IsSeparator(targetFile.back()) || IsFolder(target))) {
        check.problem = {PublishProblemKind::TargetIsFolder, target};
        return check;
    }
    if (!NamesPageFile(target) && FileExists(target) && !IsFolder(target)) {
        check.problem = {PublishProblemKind::TargetIsFile, target};
        return check;
    }
    const std::string folder = TargetFolder(targetFile);
    if (IsOnReadOnlyFileSystem(folder)) {
        check.problem = {PublishProblemKind::ReadOnlyTarget};
        return check;
    }
    if (!folder.empty() && !IsFolder(folder) && ::mkdir(folder.c_str(), 0777) != 0) {
        check.problem = {PublishProblemKind::CannotCreateFolder, folder};
        return check;
    }
    check.ok = true;
    check.imageFolder = folder;
    return check;
}

void CopyAdditionalFiles(const std::vector<std::string>& files, const std::string& folder) {
    if (files.empty() || !IsFolder(folder.empty() ? "." : folder))
        return;
    for (const std::string& file : files) {
        if (!FileExists(file) || IsFolder(file))
            continue;
        std::error_code ignored;
        std::filesystem::copy_file(file, JoinPath(folder, FileNamePart(file)),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
}

PublishOutcome PublishPages(Publisher& publisher, const PublishInput& input) {
    PublishOutcome outcome;
    const PublishOptions& options = publisher.Options();
    if (input.shots == nullptr || input.shots->IsEmpty() || options.targetFile.empty()) {
        return outcome;
    }
    outcome.ran = true;
    PublishRunState& run = publisher.Run();
    run.firstPagePath = FirstPagePath(options.targetFile);
    outcome.firstPagePath = run.firstPagePath;
    publisher.SetRunTexts(input.localTime, input.userName);
    CopyAdditionalFiles(options.additionalFiles, FolderPart(run.firstPagePath));

    run.shots = input.shots;
    run.imageFiles = input.imageFiles;
    publisher.ResetExpansionLimit();
    outcome.complete = options.templateFile.empty()
                           ? GenerateBuiltInPages(publisher)
                           : GenerateTemplatePages(publisher, outcome.problems);
    if (publisher.ExpansionLimitHit()) {
        outcome.problems.push_back({PublishProblemKind::ExpansionLimit});
        outcome.complete = false;
    }
    if (!outcome.complete)
        outcome.problems.push_back({PublishProblemKind::Partial});
    if (options.showResult && FileExists(run.firstPagePath)) {
        outcome.pageToShow = run.firstPagePath;
    }
    // The run is over; the shots belong to the caller.
    run.shots = nullptr;
    run.currentShot = nullptr;
    return outcome;
}

PublishOutcome PublishPages(Publisher& publisher, const ShotList* shots,
                            std::vector<std::string> imageFiles) {
    PublishInput input;
    input.shots = shots;
    input.imageFiles = std::move(imageFiles);
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &input.localTime);
    input.userName = CurrentUserName();
    return PublishPages(publisher, input);
}

}  // namespace trevanto

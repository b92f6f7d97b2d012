#include "publish/publishing_run.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>

#include "common/atomic_file.h"
#include "common/paths.h"
#include "common/text_format.h"
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

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool NamesPageFile(const std::string& path) {
    const std::string lower = LowerCase(path);
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
    // A folder of the user's that he may not write to is no read-only medium.
    if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
        check.problem = {PublishProblemKind::TargetNotWritable, folder.empty() ? "." : folder};
        return check;
    }
    check.ok = true;
    check.imageFolder = folder;
    return check;
}

std::vector<std::string> PublicationPageNames(const std::string& targetFile, int32_t shotCount) {
    const std::string first = FileNamePart(FirstPagePath(targetFile));
    if (first.empty())
        return {};
    std::vector<std::string> names{first};
    // The built-in page numbers its pages before ".htm", ".mhtml" or ".asp",
    // template pages before the last dot: both, where they differ.
    const std::string lower = LowerCase(first);
    size_t pageExtension = std::string::npos;
    for (const char* extension : {".htm", ".mhtml", ".asp"}) {
        pageExtension = lower.find(extension);
        if (pageExtension != std::string::npos)
            break;
    }
    const size_t lastDot = first.rfind('.');
    for (int32_t k = 1; k < shotCount; ++k) {
        const std::string number = FormatText("_%04d", k);
        if (pageExtension != std::string::npos) {
            names.push_back(first.substr(0, pageExtension) + number + first.substr(pageExtension));
        }
        if (lastDot != pageExtension) {
            names.push_back(lastDot == std::string::npos
                                ? first + number
                                : first.substr(0, lastDot) + number + first.substr(lastDot));
        }
    }
    return names;
}

std::optional<std::string> AdditionalFileClash(const std::vector<std::string>& additionalFiles,
                                               const std::vector<std::string>& publicationFiles) {
    std::set<std::string> taken;
    for (const std::string& name : publicationFiles)
        taken.insert(LowerCase(name));
    for (const std::string& file : additionalFiles) {
        // Only the files that exist are copied.
        if (!FileExists(file) || IsFolder(file))
            continue;
        if (!taken.insert(LowerCase(FileNamePart(file))).second)
            return file;
    }
    return std::nullopt;
}

void CopyAdditionalFiles(const std::vector<std::string>& files, const std::string& folder) {
    if (files.empty() || !IsFolder(folder.empty() ? "." : folder))
        return;
    for (const std::string& file : files) {
        if (!FileExists(file) || IsFolder(file))
            continue;
        CopyFileAtomically(file, JoinPath(folder, FileNamePart(file)));
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
    if (publisher.IsArchive()) {
        for (const std::string& file : publisher.Archive().TooLargeFiles()) {
            outcome.problems.push_back({PublishProblemKind::EmbeddedFileTooLarge, file});
            outcome.complete = false;
        }
    }
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

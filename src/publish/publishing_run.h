#pragma once
// The publish command's checks and the page generation of a publication.
// Problems come back as facts (publish_problem.h); wording and showing them,
// and opening the first page, is the caller's job.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "publish/publish_problem.h"

namespace trevanto {

class Publisher;
class ShotList;

// Before the wizard: what is missing, or nothing when publishing may start.
std::optional<PublishProblem> CheckReadyToPublish(bool videoOpen, int32_t shotCount);

// The folder a target names: the folder of a page file (a name holding ".htm",
// ".mhtml" or ".asp"), else the target itself.
std::string TargetFolder(const std::string& targetFile);

// The first page: the target, or output1.html in it when it is a folder.
std::string FirstPagePath(const std::string& targetFile);

// True when the nearest existing folder of the path is on a read-only file
// system.
bool IsOnReadOnlyFileSystem(const std::string& path);

struct TargetCheck {
    bool ok = false;
    PublishProblem problem;   // why not, when not ok
    std::string imageFolder;  // where the export writes image0001.jpg, ...
};

// After the wizard: the target must be given, writable, and its folder is
// created (one level) when missing.
TargetCheck PrepareTarget(const std::string& targetFile);

// The names (no folder) of the pages a publication of `shotCount` shots may
// write: the first page and those after it, at most one page per shot.
std::vector<std::string> PublicationPageNames(const std::string& targetFile, int32_t shotCount);

// The first additional file that exists and would replace one of the
// publication's own files (`publicationFiles`, names without folder) or an
// additional file listed before it. Names are compared without regard to
// letter case, as on the memory sticks and web servers publications go to.
std::optional<std::string> AdditionalFileClash(const std::vector<std::string>& additionalFiles,
                                               const std::vector<std::string>& publicationFiles);

// Copies each listed file that exists into the folder under its own name.
void CopyAdditionalFiles(const std::vector<std::string>& files, const std::string& folder);

struct PublishOutcome {
    bool ran = false;                      // false when there was nothing to publish
    bool complete = false;                 // every page was produced as planned
    std::vector<PublishProblem> problems;  // in the order they arose
    std::string firstPagePath;
    // The first page to open for the user; empty unless showResult is set and
    // the page exists.
    std::string pageToShow;
};

struct PublishInput {
    const ShotList* shots = nullptr;
    // The shot images in shot order; empty when they are in the target folder
    // under their shotFileName names.
    std::vector<std::string> imageFiles;
    std::tm localTime{};
    std::string userName;
};

// The run after the images are written: texts of the run, additional files,
// template or built-in pages (files or one archive).
PublishOutcome PublishPages(Publisher& publisher, const PublishInput& input);
// The same at the current time for the logged-on user.
PublishOutcome PublishPages(Publisher& publisher, const ShotList* shots,
                            std::vector<std::string> imageFiles = {});

}  // namespace trevanto

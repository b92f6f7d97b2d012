#include "publish/publisher.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "common/paths.h"
#include "common/text_format.h"

namespace trevanto {

void Publisher::ResetToDefaults() {
    PublishOptions defaults;
    defaults.additionalFiles = std::move(options_.additionalFiles);
    defaults.onlineVideoUrl = std::move(options_.onlineVideoUrl);
    defaults.asxScriptUrl = std::move(options_.asxScriptUrl);
    options_ = std::move(defaults);
}

void Publisher::Assign(const Publisher& other) {
    if (&other == this)
        return;
    const PublishOptions& from = other.options_;
    options_.shotWidth = from.shotWidth;
    options_.shotHeight = from.shotHeight;
    options_.displayCaption = from.displayCaption;
    options_.shotCaption = from.shotCaption;
    options_.stretchToFit = from.stretchToFit;
    options_.targetFile = from.targetFile;
    options_.edgeWidth = from.edgeWidth;
    options_.title = from.title;
    options_.shotsPerRow = from.shotsPerRow;
    options_.pageKBytes = from.pageKBytes;
    options_.showResult = from.showResult;
    SetUseTemplate(from.useTemplate);
    options_.templateFile = from.templateFile;
    options_.onlineVideoUrl = from.onlineVideoUrl;
    options_.asxScriptUrl = from.asxScriptUrl;
    options_.additionalFiles.clear();
    for (const std::string& file : from.additionalFiles)
        options_.additionalFiles.push_back(file);
    videoUrl_ = other.videoUrl_;
    texts_.videoUrl = other.texts_.videoUrl;
}

void Publisher::SetUseTemplate(bool useTemplate) {
    options_.useTemplate = useTemplate;
    if (!useTemplate)
        options_.templateFile.clear();
}

void Publisher::PublishVideoFacts(const std::string& videoPath, int32_t frameCount,
                                  double durationSeconds, PictureTimes times) {
    // The name is what follows the last separator, trailing ones included.
    const size_t cut = videoPath.find_last_of("/\\");
    videoName_ = cut == std::string::npos ? videoPath : videoPath.substr(cut + 1);
    videoUrl_ = videoPath;
    frameCount_ = frameCount;
    durationSeconds_ = durationSeconds;
    pictureTimes_ = std::move(times);
    texts_.videoName = videoName_;
    texts_.videoUrl = videoUrl_;
    texts_.videoFrames = FormatText("%ld", static_cast<long>(frameCount));
}

bool Publisher::IsArchive() const {
    const std::string& target = options_.targetFile;
    const size_t dot = target.rfind('.');
    return !target.empty() && dot != std::string::npos &&
           EqualsIgnoreCase(std::string_view(target).substr(dot + 1), "mhtml");
}

std::string Publisher::TargetTypeText() const {
    return IsArchive() ? "Target type : web archive" : "Target type : web page";
}

void Publisher::SetIndexTexts(int32_t index) {
    texts_.index = FormatText("%d", index);
    texts_.paddedIndex = FormatText("%04d", index);
}

void Publisher::ClearIndexTexts() {
    texts_.index.clear();
    texts_.paddedIndex.clear();
}

void Publisher::SetCountTexts(int32_t count) {
    texts_.count = FormatText("%d", count);
    texts_.paddedCount = FormatText("%04d", count);
}

void Publisher::SetRunTexts(const std::tm& localTime, std::string userName) {
    texts_.videoDuration = VideoDurationText(durationSeconds_);
    texts_.creationDate = CreationDateText(localTime);
    texts_.userName = std::move(userName);
}

std::string VideoDurationText(double durationSeconds) {
    // An absurd duration (a broken file's) is cut to 68 years, which a long holds.
    constexpr double kLongest = 2147483647.0;
    const long seconds =
        durationSeconds > 0 ? static_cast<long>(std::min(durationSeconds, kLongest)) : 0;
    const long hours = seconds / 3600;
    const long minutes = (seconds % 3600) / 60;
    std::string text;
    if (hours > 0)
        text += FormatText("%02ld:", hours);
    if (minutes > 0 || hours > 0)
        text += FormatText("%02ld:", minutes);
    text += FormatText("%02ld", seconds % 60);
    return text;
}

std::string CreationDateText(const std::tm& localTime) {
    return FormatText("%d/%d/%d %02d:%02d", localTime.tm_year + 1900, localTime.tm_mon + 1,
                      localTime.tm_mday, localTime.tm_hour, localTime.tm_min);
}

std::string CurrentUserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name) {
        return entry->pw_name;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value != nullptr)
            return value;
    }
    return {};
}

}  // namespace trevanto

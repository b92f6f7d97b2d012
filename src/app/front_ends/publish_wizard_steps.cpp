#include "app/front_ends/publish_wizard_steps.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "common/paths.h"
#include "common/text_numbers.h"
#include "export/jpeg_export.h"
#include "publish/option_bounds.h"
#include "publish/publisher.h"

namespace trevanto {
namespace {

static_assert(kMaxShotSide == kMaxExportSide, "the wizard allows only sizes the export can make");

// The step's message for a value out of its range: the plain one below it,
// with the largest allowed value above it.
std::string RangeMessage(BoundedOption option, int32_t value, const char* text) {
    switch (CheckRange(option, value)) {
        case RangeCheck::Within:
            return {};
        case RangeCheck::TooSmall:
            return text;
        case RangeCheck::TooLarge:
            break;
    }
    return std::string(text) + " It must be at most " + std::to_string(RangeOf(option).highest) +
           ".";
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

}  // namespace

int32_t ReadEditNumber(std::string_view text) {
    const int64_t value = ReadLeadingInteger(text);
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::string StoreTargetStep(const std::string& target, bool useTemplate, bool showResult,
                            Publisher& copy) {
    copy.Options().targetFile = target;
    if (target.empty())
        return message::kNoTargetFile;
    copy.SetUseTemplate(useTemplate);
    copy.Options().showResult = showResult;
    return {};
}

std::string StoreLayoutStep(const LayoutStepFields& fields, PublishOptions& options) {
    const int32_t perRow = ReadEditNumber(fields.shotsPerRow);
    const int32_t edge = ReadEditNumber(fields.edgeWidth);
    const int32_t kBytes = ReadEditNumber(fields.pageKBytes);
    for (std::string problem :
         {RangeMessage(BoundedOption::ShotsPerRow, perRow, message::kBadShotsPerRow),
          RangeMessage(BoundedOption::EdgeWidth, edge, message::kBadEdgeWidth),
          RangeMessage(BoundedOption::PageKBytes, kBytes, message::kBadPageKBytes)}) {
        if (!problem.empty())
            return problem;
    }
    if (fields.title.find("$(TITLE)") != std::string::npos)
        return message::kTitleCircular;
    options.title = fields.title;
    options.shotsPerRow = perRow;
    options.edgeWidth = edge;
    options.pageKBytes = kBytes;
    return {};
}

std::string StoreTemplateStep(const std::string& title, const std::string& templateFile,
                              bool forward, PublishOptions& options) {
    if (title.find("$(TITLE)") != std::string::npos)
        return message::kTitleCircular;
    options.title = title;
    if (forward && templateFile.empty())
        return message::kNoTemplateFile;
    if (forward && !FileExists(templateFile))
        return "Template file (" + templateFile + ") does not exist.";
    options.templateFile = templateFile;
    return {};
}

std::string StoreShotStep(const ShotStepFields& fields, PublishOptions& options) {
    const int32_t width = ReadEditNumber(fields.width);
    const int32_t height = ReadEditNumber(fields.height);
    for (std::string problem :
         {RangeMessage(BoundedOption::ShotWidth, width, message::kBadShotWidth),
          RangeMessage(BoundedOption::ShotHeight, height, message::kBadShotHeight)}) {
        if (!problem.empty())
            return problem;
    }
    if (fields.caption.find("$(SHOTCAPTION)") != std::string::npos)
        return message::kCaptionCircular;
    options.shotCaption = fields.caption;
    options.shotWidth = width;
    options.shotHeight = height;
    options.stretchToFit = fields.stretchToFit;
    options.displayCaption = fields.displayCaption;
    return {};
}

std::vector<std::string> SortedForAdding(std::vector<std::string> paths) {
    std::stable_sort(paths.begin(), paths.end(), LessIgnoringCase);
    return paths;
}

std::string ProposedVideoUrl(const Publisher& publisher) {
    const std::string& online = publisher.Options().onlineVideoUrl;
    if (online.empty() && publisher.Texts().videoUrl.find("://") != std::string::npos)
        return publisher.Texts().videoUrl;
    return online;
}

}  // namespace trevanto

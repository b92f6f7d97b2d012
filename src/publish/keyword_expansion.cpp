// The keyword language: $(NAME) or $(NAME, "picture") replaced by values of
// the shot, the page, the video or the publication.
#include "common/paths.h"
#include "common/text_format.h"
#include "publish/format_number.h"
#include "publish/keyword_table.h"
#include "publish/publisher.h"
#include "publish/video_link.h"
#include "shots/shot.h"

namespace trevanto {
namespace {

// A text that brings back its own keyword would expand without end; the
// expansion stops after this many replacements in all, or this deep.
constexpr int kReplacementLimit = 10000;
constexpr int kDepthLimit = 16;

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

struct KeywordSpan {
    std::string name;
    std::string format;
    size_t end = 0;  // position of the closing ")"
};

KeywordSpan SplitKeyword(const std::string& s, size_t p, size_t end) {
    KeywordSpan span;
    span.end = end;
    const size_t comma = s.find(',', p + 2);
    if (comma == std::string::npos || comma >= end) {
        span.name = s.substr(p + 2, end - p - 2);
        return span;
    }
    const size_t q1 = s.find('"', p + 2);
    if (q1 == std::string::npos) {
        span.name = s.substr(p + 2, end - p - 2);
        return span;
    }
    span.name = s.substr(p + 2, comma - p - 2);
    const size_t q2 = s.find('"', q1 + 1);
    if (q2 == std::string::npos)
        return span;
    span.format = TrimBlanks(std::string_view(s).substr(q1 + 1, q2 - q1 - 1));
    // A picture may itself hold ")".
    if (const size_t close = s.find(')', q2 + 1); close != std::string::npos)
        span.end = close;
    return span;
}

}  // namespace

struct Publisher::ExpansionBudget {
    int replacementsLeft = kReplacementLimit;
};

std::string Publisher::ExpandKeywords(std::string_view text, bool pageLevel,
                                      bool shotsExhausted) const {
    ExpansionBudget budget;
    return Expand(text, pageLevel, shotsExhausted, budget, 0);
}

std::string Publisher::Expand(std::string_view text, bool pageLevel, bool shotsExhausted,
                              ExpansionBudget& budget, int depth) const {
    std::string s(text);
    if (depth >= kDepthLimit)
        return s;
    size_t p = s.find("$(");
    while (p != std::string::npos && budget.replacementsLeft > 0) {
        const size_t end = s.find(')', p + 2);
        if (end == std::string::npos) {
            p = s.find("$(", p + 2);
            continue;
        }
        const KeywordSpan span = SplitKeyword(s, p, end);
        const KeywordRow* row = FindExpandableKeyword(span.name);
        if (row == nullptr) {
            p = s.find("$(", p + 2);
            continue;
        }
        --budget.replacementsLeft;
        std::string value =
            KeywordValue(static_cast<int>(row->id), pageLevel, shotsExhausted, budget, depth);
        if (!value.empty() && !span.format.empty())
            value = FormatNumber(value, span.format);
        s = s.substr(0, p) + value + s.substr(span.end + 1);
        // Keywords that a value brings in are expanded as well.
        p = s.find("$(");
    }
    return s;
}

std::string Publisher::KeywordValue(int id, bool pageLevel, bool shotsExhausted,
                                    ExpansionBudget& budget, int depth) const {
    const Shot* shot = shotsExhausted ? nullptr : run_.currentShot;
    const auto timecode = [&](bool start, char separator) {
        return start ? shot->StartTimecode(frameCount_, durationSeconds_, separator)
                     : shot->EndTimecode(frameCount_, durationSeconds_, separator);
    };
    switch (static_cast<KeywordId>(id)) {
        case KeywordId::kIndex:
            return pageLevel || shotsExhausted ? std::string() : texts_.index;
        case KeywordId::kPaddedIndex:
            return pageLevel || shotsExhausted ? std::string() : texts_.paddedIndex;
        case KeywordId::kCount:
            return texts_.count;
        case KeywordId::kPaddedCount:
            return texts_.paddedCount;
        case KeywordId::kMarkIn:
            return shot ? FormatText("%ld", static_cast<long>(shot->startFrame)) : std::string();
        case KeywordId::kMarkOut:
            return shot ? FormatText("%ld", static_cast<long>(shot->endFrame)) : std::string();
        case KeywordId::kTimecodeIn:
            return shot ? timecode(true, ':') : std::string();
        case KeywordId::kTimecodeOut:
            return shot ? timecode(false, ':') : std::string();
        case KeywordId::kShotWidth:
            return texts_.shotWidth;
        case KeywordId::kShotHeight:
            return texts_.shotHeight;
        case KeywordId::kVideoLink:
            return shot ? BuildVideoLink(options_.asxScriptUrl, timecode(true, '.'),
                                         timecode(false, '.'), options_.onlineVideoUrl)
                        : std::string();
        case KeywordId::kVideoLinkUrl:
            return options_.onlineVideoUrl;
        case KeywordId::kVideoLinkStartAt:
            return shot ? BuildVideoLink(options_.asxScriptUrl, timecode(true, '.'), {},
                                         options_.onlineVideoUrl)
                        : std::string();
        case KeywordId::kPage:
            return texts_.page;
        case KeywordId::kPageCount:
            return texts_.pageCount;
        case KeywordId::kThumbnailWidth:
            return texts_.thumbnailWidth;
        case KeywordId::kThumbnailHeight:
            return texts_.thumbnailHeight;
        case KeywordId::kCreationDate:
            return texts_.creationDate;
        case KeywordId::kVideoName:
            return texts_.videoName;
        case KeywordId::kVideoUrl:
            return texts_.videoUrl;
        case KeywordId::kVideoFrames:
            return texts_.videoFrames;
        case KeywordId::kVideoDuration:
            return texts_.videoDuration;
        case KeywordId::kUserName:
            return texts_.userName;
        case KeywordId::kTitle:
            return Expand(options_.title, pageLevel, shotsExhausted, budget, depth + 1);
        case KeywordId::kShotCaption:
            return shotsExhausted
                       ? std::string()
                       : Expand(options_.shotCaption, pageLevel, false, budget, depth + 1);
        case KeywordId::kShotFileName: {
            if (shotsExhausted)
                return {};
            std::string name = Expand(options_.shotFileName, pageLevel, false, budget, depth + 1);
            if (IsArchive() && !name.empty())
                name.insert(0, "cid:");
            return name;
        }
        case KeywordId::kFirstPage:
        case KeywordId::kPreviousPage:
        case KeywordId::kNextPage:
        case KeywordId::kLastPage:
        case KeywordId::kPrevious5Page:
        case KeywordId::kNext5Page:
        case KeywordId::kPrevious10Page:
        case KeywordId::kNext10Page: {
            std::string name = PageValue(id);
            // Pages of an archive link to each other inside it.
            if (IsArchive() && !name.empty())
                name.insert(0, "cid:");
            return name;
        }
        default:
            return {};
    }
}

std::string Publisher::PageValue(int id) const {
    const int32_t page = run_.pageIndex;
    const int32_t count = run_.pageCount;
    const auto back = [&](int32_t step) {
        return page - step >= 0 ? PageFileName(page - step) : std::string();
    };
    const auto ahead = [&](int32_t step) {
        return page < count - step ? PageFileName(page + step) : std::string();
    };
    switch (static_cast<KeywordId>(id)) {
        case KeywordId::kFirstPage:
            return PageFileName(0);
        case KeywordId::kPreviousPage:
            return back(1);
        case KeywordId::kNextPage:
            return ahead(1);
        case KeywordId::kLastPage:
            return PageFileName(count - 1);
        case KeywordId::kPrevious5Page:
            return back(5);
        case KeywordId::kNext5Page:
            return ahead(5);
        case KeywordId::kPrevious10Page:
            return back(10);
        case KeywordId::kNext10Page:
            return ahead(10);
        default:
            return {};
    }
}

std::string Publisher::PageFileName(int32_t k) const {
    const std::string name = FileNamePart(run_.firstPagePath);
    if (k <= 0)
        return name;
    // Only a dot of the file name itself starts the extension.
    const size_t dot = name.rfind('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return base + FormatText("_%04d", k) + extension;
}

}  // namespace trevanto

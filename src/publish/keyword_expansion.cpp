// The keyword language: $(NAME) or $(NAME, "picture") replaced by values of
// the shot, the page, the video or the publication.
#include <string.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "common/paths.h"
#include "common/text_format.h"
#include "publish/format_number.h"
#include "publish/html_values.h"
#include "publish/keyword_table.h"
#include "publish/publisher.h"
#include "publish/video_link.h"
#include "shots/shot.h"

namespace trevanto {
namespace {

// A text that brings back its own keyword would expand without end; the
// expansion stops after kReplacementLimit replacements in all, kDepthLimit
// deep, when its values have added kGrowthLimit characters in all, or when it
// has looked at kWorkLimit characters in all, rescans included (the windows
// and the look-back keep each step short, this keeps their sum bounded).
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr int kReplacementLimit = 10000;
constexpr size_t kGrowthLimit = size_t{1} << 20;
constexpr size_t kWorkLimit = size_t{32} << 20;
#else
// A text that explodes reaches the limits in every other fuzzing run: at the
// full ones each such run took a second under the fuzzer's instrumentation.
// The same code stops at a sixty-fourth of them.
constexpr int kReplacementLimit = 10000 / 64;
constexpr size_t kGrowthLimit = (size_t{1} << 20) / 64;
constexpr size_t kWorkLimit = (size_t{32} << 20) / 64;
#endif
constexpr int kDepthLimit = 16;
// Only a keyword name can match, so a ")" or "," further than the longest name
// ends nothing; a number picture, its quotes and the ")" after it must each
// follow within kPictureWindow characters.
constexpr size_t kLongestName = 17;
constexpr size_t kPictureWindow = 255;
// After a replacement, a "$(" this close before it may have become a keyword.
constexpr size_t kLookBack = 2 + kLongestName + 3 * (kPictureWindow + 1);

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The text still to scan, kept reversed so that putting a value in front of it
// costs the value's length only.
class PendingText {
  public:
    explicit PendingText(std::string_view text) : reversed_(text.rbegin(), text.rend()) {}
    bool Empty() const { return reversed_.empty(); }
    size_t Size() const { return reversed_.size(); }
    char At(size_t i) const {
        ++looks_;
        return reversed_[reversed_.size() - 1 - i];
    }
    // Characters looked at since the last call.
    size_t TakeLooks() { return std::exchange(looks_, 0); }
    bool StartsKeyword() const { return Size() >= 2 && At(0) == '$' && At(1) == '('; }
    // First `c` at or after `from` and before `limit`, or npos. Counted as
    // the characters up to it looked at one by one; found with memrchr, since
    // the searches of one expansion may look at its whole work limit.
    size_t Find(char c, size_t from, size_t limit) const {
        limit = std::min(limit, Size());
        if (from >= limit)
            return std::string::npos;
        // Positions from..limit-1 are the reversed text's
        // Size()-limit..Size()-1-from, the first of them last.
        const char* first = reversed_.data() + (Size() - limit);
        const void* hit = ::memrchr(first, c, limit - from);
        if (hit == nullptr) {
            looks_ += limit - from;
            return std::string::npos;
        }
        const size_t i =
            Size() - 1 - static_cast<size_t>(static_cast<const char*>(hit) - reversed_.data());
        looks_ += i - from + 1;
        return i;
    }
    char Pop() {
        const char c = reversed_.back();
        reversed_.pop_back();
        return c;
    }
    void Drop(size_t count) { reversed_.resize(reversed_.size() - count); }
    void PutFront(std::string_view text) { reversed_.append(text.rbegin(), text.rend()); }
    std::string Rest() const { return std::string(reversed_.rbegin(), reversed_.rend()); }

  private:
    std::string reversed_;
    mutable size_t looks_ = 0;
};

struct KeywordSpan {
    std::string name;
    std::string format;
    size_t end = 0;  // position of the closing ")"
};

// The keyword at the front of the text, or nothing when no keyword name can
// be there.
std::optional<KeywordSpan> SplitKeyword(const PendingText& s) {
    const size_t nameLimit = 2 + kLongestName + 1;
    const size_t close = s.Find(')', 2, nameLimit);
    const size_t comma = s.Find(',', 2, close == std::string::npos ? nameLimit : close);
    KeywordSpan span;
    const auto text = [&](size_t from, size_t to) {
        std::string part;
        for (size_t i = from; i < to; ++i)
            part += s.At(i);
        return part;
    };
    if (comma == std::string::npos) {
        if (close == std::string::npos)
            return std::nullopt;
        span.name = text(2, close);
        span.end = close;
        return span;
    }
    const size_t q1 = s.Find('"', 2, comma + 1 + kPictureWindow);
    if (q1 == std::string::npos)
        return std::nullopt;  // the name would hold the comma
    // Without a ")" the keyword is not closed.
    size_t end = close != std::string::npos ? close : s.Find(')', comma, q1);
    span.name = text(2, comma);
    const size_t q2 = s.Find('"', q1 + 1, q1 + 1 + kPictureWindow);
    if (q2 != std::string::npos) {
        span.format = TrimBlanks(text(q1 + 1, q2));
        // A picture may itself hold ")".
        if (const size_t after = s.Find(')', q2 + 1, q2 + 1 + kPictureWindow);
            after != std::string::npos)
            end = after;
    }
    if (end == std::string::npos)
        return std::nullopt;
    span.end = end;
    return span;
}

// Where scanning resumes after a replacement whose value goes after `out`:
// at the first "$(" that the value may turn into a keyword. That is one whose
// name may still run into the value, or a keyword name followed by "," whose
// picture or ")" the value may bring; else a last "$" that the value may
// complete, else the value itself.
size_t ResumePoint(std::string_view out) {
    const size_t nameReach = 2 + kLongestName;
    const size_t near = out.size() - std::min(out.size(), nameReach);
    for (size_t q = out.find("$(", out.size() - std::min(out.size(), kLookBack));
         q != std::string_view::npos; q = out.find("$(", q + 1)) {
        if (q >= near)
            return q;
        const std::string_view head = out.substr(q + 2, kLongestName + 1);
        const size_t comma = head.find(',');
        if (comma != std::string_view::npos &&
            head.substr(0, comma).find(')') == std::string_view::npos &&
            FindExpandableKeyword(head.substr(0, comma)) != nullptr)
            return q;
    }
    return !out.empty() && out.back() == '$' ? out.size() - 1 : out.size();
}

// A value as it goes into HTML. Urls keep only schemes that cannot run
// script. The program's own numbers, times and dates pass with the picture
// the user typed; the title and the caption are the user's HTML and their
// values were treated inside them. Every other value (names of the video, the
// user and the files, and any keyword added later) comes from outside and is
// escaped unless it is listed here.
std::string HtmlValue(KeywordId id, const std::string& value) {
    switch (id) {
        case KeywordId::kVideoUrl:
        case KeywordId::kVideoLink:
        case KeywordId::kVideoLinkUrl:
        case KeywordId::kVideoLinkStartAt:
            return EscapeHtml(UrlWithSafeScheme(value));
        case KeywordId::kIndex:
        case KeywordId::kCount:
        case KeywordId::kPaddedIndex:
        case KeywordId::kPaddedCount:
        case KeywordId::kMarkIn:
        case KeywordId::kMarkOut:
        case KeywordId::kTimecodeIn:
        case KeywordId::kTimecodeOut:
        case KeywordId::kShotWidth:
        case KeywordId::kShotHeight:
        case KeywordId::kPage:
        case KeywordId::kPageCount:
        case KeywordId::kThumbnailWidth:
        case KeywordId::kThumbnailHeight:
        case KeywordId::kCreationDate:
        case KeywordId::kVideoFrames:
        case KeywordId::kVideoDuration:
        case KeywordId::kTitle:
        case KeywordId::kShotCaption:
        case KeywordId::kBeginShot:
        case KeywordId::kEndShot:
            return value;
        default:
            return EscapeHtml(value);
    }
}

}  // namespace

struct Publisher::ExpansionBudget {
    int replacementsLeft = kReplacementLimit;
    size_t growthLeft = kGrowthLimit;
    size_t workLeft = kWorkLimit;
};

std::string Publisher::ExpandKeywords(std::string_view text, bool pageLevel, bool shotsExhausted,
                                      KeywordOutput output) const {
    // A publication whose expansion hit a limit has failed already: the rest
    // of it stays unexpanded, so a text that explodes costs one expansion,
    // not one for every shot and page.
    if (expansionLimitHit_)
        return std::string(text);
    ExpansionBudget budget;
    return Expand(text, pageLevel, shotsExhausted, output, budget, 0);
}

// Scanning starts again before each replaced keyword, so that keywords that a
// value brings in, or completes, are expanded as well; only the last
// kLookBack characters before it can take part in such a keyword.
std::string Publisher::Expand(std::string_view text, bool pageLevel, bool shotsExhausted,
                              KeywordOutput output, ExpansionBudget& budget, int depth) const {
    if (depth >= kDepthLimit) {
        expansionLimitHit_ = true;
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    PendingText s(text);
    while (!s.Empty()) {
        const size_t looks = s.TakeLooks() + 1;
        if (looks > budget.workLeft) {
            expansionLimitHit_ = true;
            break;
        }
        budget.workLeft -= looks;
        if (!s.StartsKeyword()) {
            out += s.Pop();
            continue;
        }
        const std::optional<KeywordSpan> span = SplitKeyword(s);
        const KeywordRow* row = span ? FindExpandableKeyword(span->name) : nullptr;
        if (row == nullptr) {
            out += s.Pop();
            out += s.Pop();
            continue;
        }
        // Once any limit is hit the expansion has failed: stop at once
        // rather than finish the levels above it.
        if (budget.replacementsLeft <= 0 || expansionLimitHit_) {
            expansionLimitHit_ = true;
            break;
        }
        --budget.replacementsLeft;
        std::string value = KeywordValue(static_cast<int>(row->id), pageLevel, shotsExhausted,
                                         output, budget, depth);
        if (!value.empty() && !span->format.empty())
            value = FormatNumber(value, span->format);
        // After the picture: the value as a whole is text, whatever it held.
        if (output == KeywordOutput::kHtml)
            value = HtmlValue(row->id, value);
        if (value.size() > budget.growthLeft || value.size() > runGrowthLeft_) {
            expansionLimitHit_ = true;
            break;
        }
        budget.growthLeft -= value.size();
        runGrowthLeft_ -= value.size();
        s.Drop(span->end + 1);
        s.PutFront(value);
        const size_t resume = ResumePoint(out);
        s.PutFront(std::string_view(out).substr(resume));
        out.resize(resume);
    }
    return out + s.Rest();
}

std::string Publisher::KeywordValue(int id, bool pageLevel, bool shotsExhausted,
                                    KeywordOutput output, ExpansionBudget& budget,
                                    int depth) const {
    const Shot* shot = shotsExhausted ? nullptr : run_.currentShot;
    // A link plays the published video's online copy: a shot of another
    // video has none.
    const Shot* linked = shot && shot->IsFrom(videoUrl_) ? shot : nullptr;
    const auto timecode = [&](bool start, char separator) {
        return start ? shot->StartTimecode(frameCount_, durationSeconds_, separator, pictureTimes_)
                     : shot->EndTimecode(frameCount_, durationSeconds_, separator, pictureTimes_);
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
            return linked ? BuildVideoLink(options_.asxScriptUrl, timecode(true, '.'),
                                           timecode(false, '.'), options_.onlineVideoUrl)
                          : std::string();
        case KeywordId::kVideoLinkUrl:
            return options_.onlineVideoUrl;
        case KeywordId::kVideoLinkStartAt:
            return linked ? BuildVideoLink(options_.asxScriptUrl, timecode(true, '.'), {},
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
            return Expand(options_.title, pageLevel, shotsExhausted, output, budget, depth + 1);
        case KeywordId::kShotCaption:
            return shotsExhausted
                       ? std::string()
                       : Expand(options_.shotCaption, pageLevel, false, output, budget, depth + 1);
        case KeywordId::kShotFileName:
            // The name of the image file as written, escaped as a whole.
            return shotsExhausted ? std::string()
                                  : FileLink(Expand(options_.shotFileName, pageLevel, false,
                                                    KeywordOutput::kText, budget, depth + 1),
                                             output);
        case KeywordId::kFirstPage:
        case KeywordId::kPreviousPage:
        case KeywordId::kNextPage:
        case KeywordId::kLastPage:
        case KeywordId::kPrevious5Page:
        case KeywordId::kNext5Page:
        case KeywordId::kPrevious10Page:
        case KeywordId::kNext10Page:
            // Pages of an archive link to each other inside it.
            return FileLink(PageValue(id), output);
        default:
            return {};
    }
}

std::string Publisher::FileLink(std::string name, KeywordOutput output) const {
    if (name.empty())
        return name;
    if (IsArchive())
        return "cid:" + name;
    return output == KeywordOutput::kHtml ? FileReference(name) : name;
}

std::string Publisher::PageValue(int id) const {
    // 64-bit: the steps must not overflow at the ends of the range.
    const int64_t page = run_.pageIndex;
    const int64_t count = run_.pageCount;
    const auto back = [&](int64_t step) {
        return page - step >= 0 ? PageFileName(static_cast<int32_t>(page - step)) : std::string();
    };
    const auto ahead = [&](int64_t step) {
        return page < count - step ? PageFileName(static_cast<int32_t>(page + step))
                                   : std::string();
    };
    switch (static_cast<KeywordId>(id)) {
        case KeywordId::kFirstPage:
            return PageFileName(0);
        case KeywordId::kPreviousPage:
            return back(1);
        case KeywordId::kNextPage:
            return ahead(1);
        case KeywordId::kLastPage:
            return PageFileName(static_cast<int32_t>(std::max<int64_t>(count - 1, 0)));
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

#include "publish/index_page.h"

#include <algorithm>
#include <string_view>

#include "common/text_format.h"
#include "publish/publisher.h"

namespace trevanto {
namespace {

constexpr std::string_view kBeginVideo = "$(BEGINVIDEO)";
constexpr std::string_view kEndVideo = "$(ENDVIDEO)";
constexpr std::string_view kBeginShot = "$(BEGINSHOT)";
constexpr std::string_view kEndShot = "$(ENDSHOT)";
constexpr std::string_view kVideoLength = "$(VIDEOLENGTH)";

// The text before the block, the block, and the text after it; no block
// when the markers are missing or out of order.
struct Split {
    std::string_view before;
    std::string_view block;
    std::string_view after;
    bool found = false;
};

Split SplitBlock(std::string_view text, std::string_view begin, std::string_view end) {
    const size_t open = text.find(begin);
    const size_t close = open == std::string_view::npos ? open : text.find(end, open);
    if (close == std::string_view::npos)
        return {text, {}, {}, false};
    return {text.substr(0, open), text.substr(open + begin.size(), close - open - begin.size()),
            text.substr(close + end.size()), true};
}

std::string Expand(const Publisher& publisher, std::string_view text, bool pageLevel) {
    return publisher.ExpandKeywords(text, pageLevel, false, KeywordOutput::kHtml);
}

// The index's own keyword goes in before the publisher's expansion: its
// text (digits, colons, "frames") holds nothing the publisher would read.
std::string WithLength(std::string_view block, const IndexVideo& video) {
    std::string text(block);
    const std::string length = VideoLengthText(video);
    for (size_t at = text.find(kVideoLength); at != std::string::npos;
         at = text.find(kVideoLength, at + length.size())) {
        text.replace(at, kVideoLength.size(), length);
    }
    return text;
}

std::string VideoBlock(Publisher& publisher, std::string_view templateBlock,
                       const IndexVideo& video) {
    const std::string withLength = WithLength(templateBlock, video);
    const std::string_view block = withLength;
    // The page grows with the archive: the publisher's limit on a
    // publication's growth bounds each video's part instead.
    publisher.ResetExpansionLimit();
    KeywordTexts& texts = publisher.Texts();
    texts.videoName = video.name;
    texts.videoUrl = video.link;
    texts.videoFrames = FormatText("%lld", static_cast<long long>(video.frames));
    texts.videoDuration =
        video.durationSeconds > 0 ? VideoDurationText(video.durationSeconds) : std::string();
    publisher.SetCountTexts(video.shots);
    const Split shot = SplitBlock(block, kBeginShot, kEndShot);
    std::string out = Expand(publisher, shot.before, true);
    if (!shot.found)
        return out;
    for (size_t i = 0; i < video.thumbnails.size(); ++i) {
        publisher.SetIndexTexts(static_cast<int32_t>(i) + 1);
        publisher.Options().shotFileName = video.thumbnails[i];
        out += Expand(publisher, shot.block, false);
    }
    publisher.ClearIndexTexts();
    return out + Expand(publisher, shot.after, true);
}

}  // namespace

std::string VideoLengthText(const IndexVideo& video) {
    if (video.durationSeconds <= 0)
        return FormatText("%lld frames", static_cast<long long>(video.frames));
    // Cut like $(VIDEODURATION), to 68 years for an absurd duration.
    const long long seconds = static_cast<long long>(std::min(video.durationSeconds, 2147483647.0));
    const long long hours = seconds / 3600;
    const long long minutes = seconds / 60 % 60;
    return hours > 0 ? FormatText("%lld:%02lld:%02lld", hours, minutes, seconds % 60)
                     : FormatText("%lld:%02lld", minutes, seconds % 60);
}

std::string ExpandIndexTemplate(Publisher& publisher, const std::string& text,
                                const std::vector<IndexVideo>& videos) {
    publisher.ResetExpansionLimit();
    const Split video = SplitBlock(text, kBeginVideo, kEndVideo);
    const auto pageTexts = [&] {
        publisher.SetCountTexts(static_cast<int32_t>(videos.size()));
        publisher.Texts().videoName.clear();
        publisher.Texts().videoUrl.clear();
    };
    pageTexts();
    std::string out = Expand(publisher, video.before, true);
    if (!video.found)
        return out;
    for (const IndexVideo& each : videos)
        out += VideoBlock(publisher, video.block, each);
    pageTexts();
    return out + Expand(publisher, video.after, true);
}

}  // namespace trevanto

#include "publish/video_link.h"

#include <utility>

#include "common/text_numbers.h"

namespace trevanto {

std::string UrlEscape(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9')) {
            escaped += c;
        } else if (byte == ' ' || (byte >= '\t' && byte <= '\r')) {
            escaped += '+';
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        }
    }
    return escaped;
}

std::string BuildVideoLink(std::string_view scriptUrl, std::string_view startText,
                           std::string_view endText, std::string_view mediaText) {
    std::string link(scriptUrl);
    link += '?';
    bool first = true;
    const auto add = [&](std::string_view name, std::string_view value) {
        if (value.empty())
            return;
        if (!first)
            link += '&';
        link += name;
        link += UrlEscape(value);
        first = false;
    };
    add("startAt=", startText);
    add("endAt=", endText);
    add("media=", mediaText);
    return link;
}

std::optional<double> LinkTimeSeconds(std::string_view text) {
    if (text.empty())
        return 0.0;
    static constexpr char kSeparators[] = {':', ':', '.'};
    double parts[4] = {};
    for (int i = 0; i < 4; ++i) {
        LeadingNumber read;
        parts[i] = static_cast<double>(ReadLeadingInteger(text, &read));
        if (!read.found)
            return std::nullopt;
        text.remove_prefix(read.length);
        if (i == 3)
            break;
        if (text.empty() || text.front() != kSeparators[i])
            return std::nullopt;
        text.remove_prefix(1);
    }
    return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2] + parts[3] * 0.001;
}

VideoLinkCheck CheckVideoLinkFields(VideoLinkFields& fields) {
    const std::optional<double> start = LinkTimeSeconds(fields.start);
    if (!start)
        return VideoLinkCheck::BadStart;
    const std::optional<double> end = LinkTimeSeconds(fields.end);
    if (!end)
        return VideoLinkCheck::BadEnd;
    if (*start > *end)
        std::swap(fields.start, fields.end);
    if (fields.videoUrl.empty())
        return VideoLinkCheck::EmptyVideoUrl;
    if (fields.scriptUrl.empty())
        return VideoLinkCheck::EmptyScriptUrl;
    return VideoLinkCheck::Accepted;
}

}  // namespace trevanto

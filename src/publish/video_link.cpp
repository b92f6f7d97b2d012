#include "publish/video_link.h"

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

}  // namespace trevanto

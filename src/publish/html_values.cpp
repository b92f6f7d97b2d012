#include "publish/html_values.h"

#include <array>

namespace trevanto {
namespace {

// ASCII only, whatever the locale says.
bool IsAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            case '$':
                escaped += "&#36;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string UrlScheme(std::string_view url) {
    size_t at = 0;
    while (at < url.size() && static_cast<unsigned char>(url[at]) <= ' ')
        ++at;
    std::string scheme;
    for (; at < url.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(url[at]);
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == ':')
            return scheme;
        const bool schemeCharacter =
            IsAsciiLetter(c) ||
            (!scheme.empty() && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!schemeCharacter)
            return {};
        scheme += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return {};
}

std::string UrlWithSafeScheme(std::string_view url) {
    static constexpr std::array<std::string_view, 9> kSafe = {
        "http", "https", "ftp", "file", "cid", "mms", "mmsh", "rtsp", "rtmp"};
    const std::string scheme = UrlScheme(url);
    if (scheme.size() <= 1)
        return std::string(url);
    for (const std::string_view safe : kSafe) {
        if (scheme == safe)
            return std::string(url);
    }
    return {};
}

std::string FileReference(std::string_view name) {
    return UrlScheme(name).empty() ? std::string(name) : "./" + std::string(name);
}

}  // namespace trevanto

#include "online/stream_script.h"

#include <algorithm>

#include "common/paths.h"
#include "online/xml_reader.h"

namespace trevanto {
namespace {

// The scheme before "://", or nothing when the text has none.
std::string_view SchemeOf(std::string_view url) {
    const size_t end = url.find("://");
    if (end == std::string_view::npos || end == 0)
        return {};
    const std::string_view scheme = url.substr(0, end);
    const bool letters = std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
    });
    return letters ? scheme : std::string_view();
}

// A title without the blanks and line breaks around it.
std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

UrlKind ClassifyUrl(std::string_view url) {
    const std::string_view scheme = SchemeOf(url);
    if (scheme.empty())
        return url.find("://") == std::string_view::npos ? UrlKind::LocalFile : UrlKind::Refused;
    if (EqualsIgnoreCase(scheme, "http") || EqualsIgnoreCase(scheme, "https"))
        return UrlKind::Http;
    if (EqualsIgnoreCase(scheme, "mms"))
        return UrlKind::Mms;
    for (const std::string_view stream : {"rtsp", "rtsps", "rtmp", "rtmps", "rtmpt"}) {
        if (EqualsIgnoreCase(scheme, stream))
            return UrlKind::Stream;
    }
    return UrlKind::Refused;
}

std::string ScriptDownloadUrl(std::string_view url) {
    if (ClassifyUrl(url) != UrlKind::Mms)
        return std::string(url);
    return "http" + std::string(url.substr(SchemeOf(url).size()));
}

bool IsScriptUrl(std::string_view url) {
    if (url.size() <= 4)
        return false;
    const std::string_view last = url.substr(url.size() - 4);
    return EqualsIgnoreCase(last, ".asx") || EqualsIgnoreCase(last, ".wvx");
}

bool IsScriptContentType(std::string_view contentType) {
    const std::string_view type = contentType.substr(0, contentType.find(';'));
    for (const std::string_view script :
         {"video/x-ms-asx", "video/x-ms-wvx", "video/x-ms-wax", "audio/x-ms-wax"}) {
        if (EqualsIgnoreCase(type, script))
            return true;
    }
    return false;
}

std::string JoinScriptLines(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (byte != '\n' && byte != '\r')
            text += byte;
    }
    return text;
}

std::vector<std::string> CollectStreamUrls(const XmlNodeRef& root) {
    std::vector<std::string> urls;
    for (ScriptStream& stream : CollectStreams(root))
        urls.push_back(std::move(stream.url));
    return urls;
}

std::vector<ScriptStream> CollectStreams(const XmlNodeRef& root) {
    std::vector<ScriptStream> streams;
    for (XmlNodeRef entry = root.FirstChild(); !entry.IsEmpty(); entry = entry.NextSibling()) {
        if (!EqualsIgnoreCase(entry.Name(), "ENTRY"))
            continue;
        const XmlNodeRef href = entry.FindChild("REF").FindAttribute("HREF");
        if (!href.IsEmpty())
            streams.push_back({href.Value(), Trimmed(entry.FindChild("TITLE").Value())});
    }
    return streams;
}

std::vector<std::string> StreamUrls(const std::vector<ScriptStream>& streams) {
    std::vector<std::string> urls;
    urls.reserve(streams.size());
    for (const ScriptStream& stream : streams)
        urls.push_back(stream.url);
    return urls;
}

}  // namespace trevanto

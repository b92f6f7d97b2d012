#include "video/input_guard.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "common/paths.h"
#include "video/ffmpeg_handles.h"

namespace trevanto {
namespace {

constexpr std::string_view kLocalPrefix = "file:";
// The network protocols a stream may use underneath (tls and tcp for
// https, crypto for encrypted segments, http for mmsh, rtp and udp for the
// streams of rtsp, the tunnels of rtmp).
constexpr const char* kNetworkProtocols =
    "http,https,httpproxy,tcp,tls,crypto,mmsh,mmst,rtp,srtp,udp,rtmp,rtmps,rtmpt,rtmpts,"
    "ffrtmphttp";

// The protocol FFmpeg would take from the text's start, as it reads it: a
// run of scheme characters followed by a colon, or "subfile,".
std::string_view ProtocolPrefix(std::string_view text) {
    const auto end = std::find_if(text.begin(), text.end(), [](unsigned char c) {
        return !std::isalnum(c) && c != '+' && c != '-' && c != '.';
    });
    const auto length = static_cast<size_t>(end - text.begin());
    if (end != text.end() && *end == ':' && length > 0)
        return text.substr(0, length);
    if (text.substr(0, 8) == "subfile,")
        return text.substr(0, 7);
    return {};
}

bool IsNetworkScheme(std::string_view text, std::string_view protocol) {
    if (text.substr(protocol.size(), 3) != "://")
        return false;
    for (const std::string_view scheme :
         {"http", "https", "mmsh", "mmst", "rtsp", "rtsps", "rtmp", "rtmps", "rtmpt"})
        if (EqualsIgnoreCase(protocol, scheme))
            return true;
    return false;
}

GuardedInput Local(std::string_view path) {
    return {InputKind::LocalFile, std::string(kLocalPrefix) + std::string(path), "file", ""};
}

}  // namespace

GuardedInput GuardInput(std::string_view text) {
    const std::string_view protocol = ProtocolPrefix(text);
    if (protocol.empty())
        return Local(text);
    if (IsNetworkScheme(text, protocol))
        return {InputKind::Network, std::string(text), kNetworkProtocols, ""};
    // FFmpeg has no "mms": its two transports are tried in turn.
    if (EqualsIgnoreCase(protocol, "mms") && text.substr(protocol.size(), 3) == "://") {
        const std::string rest(text.substr(protocol.size()));
        return {InputKind::Network, "mmsh" + rest, kNetworkProtocols, "mmst" + rest};
    }
    if (text.substr(0, kLocalPrefix.size()) == kLocalPrefix)
        return Local(text.substr(kLocalPrefix.size()));
    // A file may well be called "take:2.mpg".
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(text), ignored))
        return Local(text);
    return {InputKind::Refused, std::string(text), "", ""};
}

std::optional<OpenFailure> CheckLocalFile(const GuardedInput& input) {
    if (input.kind != InputKind::LocalFile)
        return std::nullopt;
    std::error_code ignored;
    const auto status =
        std::filesystem::status(std::string_view(input.url).substr(kLocalPrefix.size()), ignored);
    if (!std::filesystem::exists(status))
        return OpenFailure::NotFound;
    if (!std::filesystem::is_regular_file(status))
        return OpenFailure::NotAFile;
    return std::nullopt;
}

const std::string& AllowedDemuxers() {
    static const std::string names = [] {
        const std::set<std::string_view> refused = {"concat"};
        std::string list;
        void* state = nullptr;
        while (const AVInputFormat* format = av_demuxer_iterate(&state)) {
            // A demuxer may go by several names ("mov,mp4,m4a,3gp,3g2,mj2").
            const std::string_view name = format->name;
            if (refused.count(name))
                continue;
            list += (list.empty() ? "" : ",") + std::string(name);
        }
        return list;
    }();
    return names;
}

}  // namespace trevanto

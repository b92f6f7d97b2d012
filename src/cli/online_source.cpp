#include "cli/online_source.h"

#include "net/script_download.h"
#include "video/debug_trace.h"

namespace trevanto::cli {

ScriptFetch CliOnlineVideo::FetchScript(const std::string& url, const std::string& filePath,
                                        bool onlyScript) {
    DownloadLimits limits;
    limits.timeoutMs = timeoutMs_;
    ScriptDownload download(limits);
    return download.Run(url, filePath, onlyScript);
}

std::optional<std::string> CliOnlineVideo::ChooseStream(const std::vector<std::string>& streams) {
    if (streams.empty()) {
        err_ << "trevanto-cli: the asx stream script lists no stream (no ENTRY element with a REF "
                "and its HREF)\n";
        return std::nullopt;
    }
    err_ << "trevanto-cli: the script lists " << streams.size() << " stream(s):\n";
    for (size_t i = 0; i < streams.size(); ++i)
        err_ << "  " << i + 1 << "\t" << streams[i] << "\n";
    if (entry_ < 1 || static_cast<size_t>(entry_) > streams.size()) {
        err_ << "trevanto-cli: the script has no stream " << entry_ << "\n";
        return std::nullopt;
    }
    return streams[static_cast<size_t>(entry_ - 1)];
}

void CliOnlineVideo::Trace(const std::string& text) {
    if (DebugTraceEnabled())
        DebugTrace("%s", text.c_str());
}

void CliOnlineVideo::ReportMalformedScript(const std::string& diagnostic) {
    // The reader's line ends in CR LF; a terminal wants LF only.
    err_ << "trevanto-cli: the asx stream script is " << diagnostic.substr(0, diagnostic.find('\r'))
         << "\n";
}

std::optional<std::string> ResolveCliVideo(const std::string& named, CliOnlineVideo& port,
                                           UserPort& user) {
    if (ClassifyUrl(named) == UrlKind::LocalFile && !IsScriptUrl(named))
        return named;
    return ResolveOnlineVideo(named, port, user);
}

}  // namespace trevanto::cli

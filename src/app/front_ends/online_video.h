#pragma once
// Opening a video by URL: a direct stream URL is played as it is; an ASX
// stream script (".asx", ".wvx", or served as one) is downloaded into a
// temporary file, read, and the user picks one of its streams. The front end
// downloads and asks; what is opened and what the user is told is decided
// here, the same for the desktop and trevanto-cli.
#include <optional>
#include <string>
#include <vector>

#include "app/document/document_ports.h"
#include "online/stream_script.h"

namespace trevanto {

namespace message {
inline constexpr const char* kScriptUnreachable =
    "Can't seem to be able to access this asx stream script";
inline constexpr const char* kScriptEmpty = "The asx stream script is empty. Cannot proceed.";
inline constexpr const char* kScriptTooLarge =
    "The asx stream script is larger than 1 MB. Cannot proceed.";
inline constexpr const char* kScriptTimedOut =
    "The asx stream script did not arrive in time. Cannot proceed.";
inline constexpr const char* kScriptNotText =
    "The asx stream script is not text: it holds a NUL byte. Cannot proceed.";
inline constexpr const char* kScriptsWithoutEnd =
    "The asx stream scripts refer to each other without end. Cannot proceed.";
inline constexpr const char* kUrlRefused =
    "Only http, https, mms, rtsp and rtmp urls and local files can be opened: ";
}  // namespace message

class OnlineVideoPort {
  public:
    virtual ~OnlineVideoPort() = default;
    // Downloads an http or https URL into the existing file `filePath`,
    // following redirects, within kMaxScriptBytes and the front end's time
    // limit. With `onlyScript`, an answer whose content type is no script's
    // ends it with NotScript before its body is read.
    virtual ScriptFetch FetchScript(const std::string& url, const std::string& filePath,
                                    bool onlyScript) = 0;
    // One of a script's streams, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) = 0;
    // The same choice with each stream's title beside it, where the front end
    // can show them.
    virtual std::optional<std::string> ChooseTitledStream(
        const std::vector<ScriptStream>& streams) {
        return ChooseStream(StreamUrls(streams));
    }
    // Diagnostics the user never sees: the reader's failure, the script's tree.
    virtual void Trace(const std::string& /*text*/) {}
    // The reader's diagnostic line for a malformed script; the desktop, like
    // the program always did, only traces it.
    virtual void ReportMalformedScript(const std::string& diagnostic) { Trace(diagnostic); }
};

// The stream an entered URL leads to: the URL itself for a direct stream or
// a local video, the chosen stream for a script (scripts that name scripts
// are followed a few levels deep). Nothing when the online video dialog
// stays open: the user has been told why, unless he cancelled or the script
// was malformed. No file of the download outlives the call.
std::optional<std::string> ResolveOnlineVideo(const std::string& url, OnlineVideoPort& port,
                                              UserPort& user);

}  // namespace trevanto

#pragma once
// ASX stream scripts (".asx", ".wvx"): which URLs are scripts, how a
// downloaded script becomes one line of text, and which streams it lists.
// The download itself belongs to the front ends.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

class XmlNodeRef;

// What opening a URL can do with it.
enum class UrlKind {
    Http,       // http:// or https://
    Mms,        // mms://: a script is fetched over http, a stream played over MMS
    Stream,     // rtsp://, rtmp://: played by FFmpeg, never a script
    LocalFile,  // no scheme: a path
    Refused,    // any other scheme
};

// How the download of a script ended.
enum class ScriptFetch {
    Done,
    NotScript,  // asked to fetch only a script, the server answered with something else
    Failed,     // no answer, an HTTP error, or too many redirects
    TooLarge,
    TimedOut,
    Cancelled,
};

// A script is at most this large.
inline constexpr int64_t kMaxScriptBytes = 1024 * 1024;
// A script may name a script, which may name one more, and so on up to this
// depth; so scripts that name each other end.
inline constexpr int32_t kMaxScriptNesting = 4;

UrlKind ClassifyUrl(std::string_view url);
// Where a script named by `url` is downloaded from: mms:// becomes http://
// (servers of mms streams hand their scripts out over http); other URLs
// stay as they are.
std::string ScriptDownloadUrl(std::string_view url);
// True when the URL's last four characters are ".asx" or ".wvx", in any case,
// after at least one more character. A query or anything else after the
// extension makes it a direct URL.
bool IsScriptUrl(std::string_view url);
// True for the content types servers give ASX and WVX scripts.
bool IsScriptContentType(std::string_view contentType);
// The file's lines joined without their line ends, as the reader takes them.
std::string JoinScriptLines(std::string_view bytes);
// The HREF of the first REF of each ENTRY directly under the root, in
// document order; empty and repeated values are kept.
std::vector<std::string> CollectStreamUrls(const XmlNodeRef& root);

// A stream of a script with the TITLE of its entry (empty when it has none).
struct ScriptStream {
    std::string url;
    std::string title;
};
// The streams of CollectStreamUrls, each with its entry's title.
std::vector<ScriptStream> CollectStreams(const XmlNodeRef& root);
// Their urls alone, in order, for a chooser that shows no titles.
std::vector<std::string> StreamUrls(const std::vector<ScriptStream>& streams);

}  // namespace trevanto

#pragma once
// Values that come from outside the user's template and options (file names,
// urls, the user name) written into HTML: as text that cannot become markup,
// and as urls that cannot run script.
#include <string>
#include <string_view>

namespace trevanto {

// & < > " ' as character references, so the text is text in element content
// and in quoted attribute values alike; $ too, so that it never starts a
// keyword of the page.
std::string EscapeHtml(std::string_view text);

// The scheme a browser reads at the start of the url, lower-cased, or empty
// for a relative reference. Leading blanks and control characters and any
// tab, CR or LF are ignored, as browsers do.
std::string UrlScheme(std::string_view url);

// The url, or the empty text when it names a scheme other than http, https,
// ftp, file, cid, mms, mmsh, rtsp or rtmp (javascript:, data:, vbscript:, ...).
// A relative reference, and a one-letter scheme (a drive letter), pass.
std::string UrlWithSafeScheme(std::string_view url);

// A file name of the publication as a relative reference: "./" in front when a
// browser would read the name's start as a scheme ("a:b.jpg").
std::string FileReference(std::string_view name);

}  // namespace trevanto

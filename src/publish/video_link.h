#pragma once
// Video hyperlinks: a url asking an online ASX processing script to play the
// online copy of the video from a start time to an end time.
#include <optional>
#include <string>
#include <string_view>

namespace trevanto {

// Letters and digits stay, white space becomes '+', every other byte "%XX".
std::string UrlEscape(std::string_view text);

// scriptUrl + "?" + startAt=..&endAt=..&media=.., each parameter present only
// when its text is not empty.
std::string BuildVideoLink(std::string_view scriptUrl, std::string_view startText,
                           std::string_view endText, std::string_view mediaText);

// The seconds of a link time "hh:mm:ss.mmmm": four whole numbers (each with
// an optional sign, blanks before it skipped) separated by ':', ':' and '.';
// what follows them is ignored. An empty text is 0; nothing when fewer than
// four numbers are read.
std::optional<double> LinkTimeSeconds(std::string_view text);

// The parts of a link as the user gives them for a range of shots.
struct VideoLinkFields {
    std::string start;
    std::string end;
    std::string videoUrl;
    std::string scriptUrl;
};

enum class VideoLinkCheck { Accepted, BadStart, BadEnd, EmptyVideoUrl, EmptyScriptUrl };

// Checks the fields in this order: start time, end time, video url, script
// url. Times that read in the wrong order are exchanged first, so a start
// later than its end makes the link run forward all the same.
VideoLinkCheck CheckVideoLinkFields(VideoLinkFields& fields);

}  // namespace trevanto

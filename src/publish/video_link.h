#pragma once
// Video hyperlinks: a url asking an online ASX processing script to play the
// online copy of the video from a start time to an end time.
#include <string>
#include <string_view>

namespace trevanto {

// Letters and digits stay, white space becomes '+', every other byte "%XX".
std::string UrlEscape(std::string_view text);

// scriptUrl + "?" + startAt=..&endAt=..&media=.., each parameter present only
// when its text is not empty.
std::string BuildVideoLink(std::string_view scriptUrl, std::string_view startText,
                           std::string_view endText, std::string_view mediaText);

}  // namespace trevanto

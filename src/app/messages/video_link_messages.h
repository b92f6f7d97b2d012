#pragma once
// What the user is told about the parts of a video link, and the check the
// link dialog and trevanto-cli run before a link is made.
#include <string>

#include "publish/video_link.h"

namespace trevanto {

class UserPort;

namespace message {

inline constexpr const char* kEmptyVideoUrl = "Unexpected empty video url.";  // 61216
inline constexpr const char* kBadEndTime =
    "endsAt field is not valid. Expected format is hh:mm:ss:millis.";  // 61217
inline constexpr const char* kBadStartTime =
    "startsAt field is not valid. Expected format is hh:mm:ss:millis.";             // 61218
inline constexpr const char* kEmptyScriptUrl = "Unexpected empty asx script url.";  // 61219

// Empty for accepted fields.
std::string VideoLinkMessage(VideoLinkCheck check);

}  // namespace message

// Checks the fields (CheckVideoLinkFields, which may exchange the times);
// a failed check is shown to the user and gives false.
bool AcceptVideoLinkFields(VideoLinkFields& fields, UserPort& user);

}  // namespace trevanto

#pragma once
// The fixed texts the player shows the user, with their string table numbers.
namespace trevanto::message {

inline constexpr const char* kLoadMovieFirst = "Please load a movie file first.";  // 109
inline constexpr const char* kQuartzFailed =
    "Sorry, the Quartz core components failed to initalise. Make sure to install the latest "
    "DirectX run-time.";                                                                   // 61204
inline constexpr const char* kCannotPlay = "Sorry, I do not know how to play this file.";  // 61205
inline constexpr const char* kNotSeekable =
    "This video stream does not appear to be seekable. As a result, no video slicing will be "
    "performed.";                                                                      // 61212
inline constexpr const char* kQuicktime = "Apple Quicktime format is not supported.";  // 61220
inline constexpr const char* kH264 = "Apple H264 format is not supported.";            // 61221
inline constexpr const char* kRealMedia = "Real Media format is not supported.";       // 61222
inline constexpr const char* kOutOfMemory = "Sorry, I'm running out of memory";

}  // namespace trevanto::message

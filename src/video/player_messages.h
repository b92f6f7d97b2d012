#pragma once
// The fixed texts the player shows the user, with their string table numbers.
namespace trevanto::message {

inline constexpr const char* kLoadMovieFirst = "Please load a movie file first.";  // 109
// The surfaces the frames are drawn on could not be made (no memory for them).
inline constexpr const char* kQuartzFailed =
    "Sorry, the video surfaces could not be set up: there is not enough memory. Close other "
    "programs and try again.";                                                             // 61204
inline constexpr const char* kCannotPlay = "Sorry, I do not know how to play this file.";  // 61205
inline constexpr const char* kNotSeekable =
    "This video stream does not appear to be seekable. As a result, no video slicing will be "
    "performed.";                                                                      // 61212
inline constexpr const char* kQuicktime = "Apple Quicktime format is not supported.";  // 61220
inline constexpr const char* kH264 = "Apple H264 format is not supported.";            // 61221
inline constexpr const char* kRealMedia = "Real Media format is not supported.";       // 61222
inline constexpr const char* kWrongShot =
    "Wrong shot description. The current shot can't be added.";  // 32841
inline constexpr const char* kOutOfMemory = "Sorry, I'm running out of memory";

}  // namespace trevanto::message

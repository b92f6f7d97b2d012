#pragma once
// Fixed texts the document shows the user about the video, with their string
// table numbers.
namespace trevanto::message {

inline constexpr const char* kLoadMovieFirst = "Please load a movie file first.";  // 109
inline constexpr const char* kNotSeekable =
    "This video stream does not appear to be seekable. As a result, no video slicing will be "
    "performed.";  // 61212
// A file that can seek but whose length was not found.
inline constexpr const char* kLengthUnknown =
    "The length of this video cannot be found: the file is cut short or damaged at its end. As a "
    "result, no video slicing will be performed.";
inline constexpr const char* kOutOfMemory = "Sorry, I'm running out of memory";
inline constexpr const char* kNoShotsToList = "There are no shots to list.";

}  // namespace trevanto::message

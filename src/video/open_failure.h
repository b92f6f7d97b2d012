#pragma once
// Why the player could not open a video.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "video/media_error.h"

namespace trevanto {

enum class OpenFailure : int32_t {
    Quicktime,   // a .mov that does not decode
    H264,        // a .mp4 that does not decode
    RealMedia,   // a .rm or .ram that does not decode
    NoSurfaces,  // the owner could not make its surfaces
    CannotPlay,  // no graph could be built, or the stream has no picture
    NotFound,    // no file of that name
    NotAFile,    // a folder, a FIFO or a device
    RefusedUrl,  // a protocol other than the network ones the program plays
    NoAnswer,    // the server sent too little for too long
    Picture,     // a still picture
    Cancelled,   // the user gave up waiting: nothing to tell him
};

// Why a graph could not be opened: the kind the user is told, and the
// cause for the trace.
struct OpenError {
    OpenFailure failure = OpenFailure::CannotPlay;
    MediaError cause;
};

// A stream that delivers fewer than kMinAnswerBytesPerSecond over its
// answer window while it opens is given up.
inline constexpr auto kDefaultAnswerWindow = std::chrono::milliseconds(30000);
inline constexpr int64_t kMinAnswerBytesPerSecond = 1024;

// What to open and how long to wait for it.
struct OpenRequest {
    std::string url;  // a path or a stream URL
    std::chrono::milliseconds answerWindow = kDefaultAnswerWindow;
    // Set by the user to give up the open; may be null.
    const std::atomic<bool>* cancel = nullptr;
};

}  // namespace trevanto

#pragma once
// Why the media layer could not open a video or its sound, as a value: the
// kind, and what the words need beyond it (FFmpeg's own text, a container's
// name). Worded only where it is shown or traced.
#include <cstdint>
#include <string>
#include <string_view>

namespace trevanto {

enum class MediaErrorCode : int32_t {
    None,
    OutOfMemory,
    RefusedProtocol,  // not a protocol that is played
    NoSuchFile,
    NotAFile,    // a folder, a FIFO or a device
    CannotOpen,  // detail: FFmpeg's reason, when it gave one
    CannotRead,  // the stream's head; detail: FFmpeg's reason
    Picture,     // detail: the picture format's name
    NoDecoder,   // no decoder for the video
    NoVideoStream,
    NoAudioStream,   // none that can be decoded
    DecoderRefused,  // the decoder would not open; detail: FFmpeg's reason
    NothingDecoded,  // not even the first frame
    Cancelled,       // the user gave up waiting
    AnotherOpening,  // a front end opens one video at a time
};

struct MediaError {
    MediaErrorCode code = MediaErrorCode::None;
    std::string detail;
};

// The error about `url` in the words of the trace.
std::string MediaErrorText(const MediaError& error, std::string_view url);

}  // namespace trevanto

#include "video/media_error.h"

namespace trevanto {

std::string MediaErrorText(const MediaError& error, std::string_view url) {
    const std::string quoted = "\"" + std::string(url) + "\"";
    const std::string& detail = error.detail;
    switch (error.code) {
        case MediaErrorCode::None:
            return {};
        case MediaErrorCode::OutOfMemory:
            return "Out of memory.";
        case MediaErrorCode::RefusedProtocol:
            return "Cannot open " + quoted + ": not a protocol that is played.";
        case MediaErrorCode::NoSuchFile:
            return "Cannot open " + quoted + ": no such file.";
        case MediaErrorCode::NotAFile:
            return "Cannot open " + quoted + ": not a regular file.";
        case MediaErrorCode::CannotOpen:
            return "Cannot open " + quoted + (detail.empty() ? "." : ": " + detail + ".");
        case MediaErrorCode::CannotRead:
            return "Cannot read " + quoted + (detail.empty() ? "." : ": " + detail + ".");
        case MediaErrorCode::Picture:
            return quoted + " is a picture (" + detail + ").";
        case MediaErrorCode::NoDecoder:
            return "There is no decoder for the video of " + quoted + ".";
        case MediaErrorCode::NoVideoStream:
            return quoted + " has no video stream.";
        case MediaErrorCode::NoAudioStream:
            return quoted + " has no audio stream that can be decoded.";
        case MediaErrorCode::DecoderRefused:
            return "Cannot decode the video of " + quoted +
                   (detail.empty() ? "." : ": " + detail + ".");
        case MediaErrorCode::NothingDecoded:
            return "The video of " + quoted + " cannot be decoded.";
        case MediaErrorCode::Cancelled:
            return "cancelled";
        case MediaErrorCode::AnotherOpening:
            return "another video is opening";
    }
    return {};
}

}  // namespace trevanto

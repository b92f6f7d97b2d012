#include "app/messages/shots_file_messages.h"

#include "common/regular_file.h"

namespace trevanto {

std::string ShotsFileSaveMessage(ShotsFileSaveStatus status) {
    switch (status) {
        case ShotsFileSaveStatus::Written:
            return {};
        case ShotsFileSaveStatus::NoShots:
            return "No Shot to save.";
        case ShotsFileSaveStatus::CannotCreate:
            return "Please choose another filepath.";
        case ShotsFileSaveStatus::PathWithLineBreak:
            return "The path of this video has a line break, which a shots file cannot hold. "
                   "Please rename the video or its folder, open it again and save the shots.";
    }
    return {};
}

std::string OpenFailureMessage(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::Quicktime:
            return "Apple Quicktime format is not supported.";
        case OpenFailure::H264:
            return "Apple H264 format is not supported.";
        case OpenFailure::RealMedia:
            return "Real Media format is not supported.";
        case OpenFailure::NoSurfaces:
            return "Sorry, the video surfaces could not be set up: there is not enough memory. "
                   "Close other programs and try again.";
        case OpenFailure::CannotPlay:
            return "Sorry, I do not know how to play this file.";
        case OpenFailure::NotFound:
            return "The video file cannot be found.";
        case OpenFailure::NotAFile:
            return "This is a folder, a device or a pipe, not a video file.";
        case OpenFailure::RefusedUrl:
            return "Only http, https, mms, rtsp and rtmp urls and local files can be opened.";
        case OpenFailure::NoAnswer:
            return "The server of this url did not answer in time. Cannot proceed.";
        case OpenFailure::Picture:
            return "This file is a picture, not a video.";
        case OpenFailure::Cancelled:
            return {};
    }
    return {};
}

std::string ShotsFileOpenMessage(ShotsFileOpenStatus status, const std::string& path) {
    switch (status) {
        case ShotsFileOpenStatus::Ok:
            return {};
        case ShotsFileOpenStatus::NotAFile:
            return "Shot File error! " + path + " is not a file.";
        case ShotsFileOpenStatus::CannotRead:
            return "Shot File error!";
        case ShotsFileOpenStatus::TooLarge:
            return "Shot File error! " + path + " is larger than " +
                   ByteSizeText(kMaxShotsFileBytes) + ", more than a shots file can be.";
        case ShotsFileOpenStatus::TooManyRecords:
            return "Shot File error! " + path + " holds more than " +
                   std::to_string(kMaxShotsFileRecords) +
                   " shots, more than Trevanto loads from one shots file.";
        case ShotsFileOpenStatus::NotShotsFile:
            return "Not a Shot file. Sorry !";
        case ShotsFileOpenStatus::NoLine3:
            return "Wrong line #3 header in this Shot file. Sorry !";
        case ShotsFileOpenStatus::NoVideoPath:
            return "Missing video filepath in this Shot file. Sorry !";
    }
    return {};
}

}  // namespace trevanto

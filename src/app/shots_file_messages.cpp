#include "app/shots_file_messages.h"

namespace trevanto {

std::string ShotsFileSaveMessage(ShotsFileSaveStatus status) {
    switch (status) {
        case ShotsFileSaveStatus::Written:
            return {};
        case ShotsFileSaveStatus::NoShots:
            return "No Shot to save.";
        case ShotsFileSaveStatus::CannotCreate:
            return "Please choose another filepath.";
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

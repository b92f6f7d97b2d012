#pragma once
// trevanto-cli's exit statuses.
namespace trevanto::cli {

enum ExitStatus : int {
    kSuccess = 0,
    kFailure = 1,       // something the user can act on: unreadable video, no video that decodes
    kBadArguments = 2,  // the command line itself is wrong
};

}  // namespace trevanto::cli

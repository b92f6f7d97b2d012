#pragma once
// The wording of the failures of opening videos and shots files, shared by the
// desktop program and trevanto-cli.
#include <string>

#include "export/shots_file.h"
#include "video/open_failure.h"

namespace trevanto {

// A record of a shots file that does not fit the video.
inline constexpr const char* kWrongShotMessage =
    "Wrong shot description. The current shot can't be added.";

// "No Shot to save." (the file is still written), "Please choose another
// filepath." or why the video cannot be named in a shots file; empty for a
// written file.
std::string ShotsFileSaveMessage(ShotsFileSaveStatus status);
// Why a video could not be opened.
std::string OpenFailureMessage(OpenFailure failure);
// Why the shots file at `path` cannot be loaded; empty for Ok.
std::string ShotsFileOpenMessage(ShotsFileOpenStatus status, const std::string& path);

}  // namespace trevanto

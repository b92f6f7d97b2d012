#pragma once
// The formats whose files have their own message when they cannot be played.
#include <optional>
#include <string_view>

#include "video/open_failure.h"

namespace trevanto {

// The format a path's ending names (".mov", ".mp4", ".ram", ".rm", any
// case); nothing for other paths. Paths of 4 characters or fewer name none.
std::optional<OpenFailure> RefusedFormatOf(std::string_view path);

// What the user is told when `path` could not be played for `failure`:
// files of those formats that do not decode (CannotPlay) say that their
// format is not supported; every other failure stands. A file of any name
// that decodes is played.
OpenFailure UndecodableFailure(std::string_view path, OpenFailure failure);

}  // namespace trevanto

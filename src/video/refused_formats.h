#pragma once
// Formats the player refuses by their file name before trying to open them.
#include <optional>
#include <string_view>

#include "video/open_failure.h"

namespace trevanto {

// The refused format a path's ending names (".mov", ".mp4", ".ram", ".rm",
// any case); nothing for other paths. Paths of 4 characters or fewer are never
// refused.
std::optional<OpenFailure> RefusedFormatOf(std::string_view path);

}  // namespace trevanto

#pragma once
// Formats the player refuses by their file name before trying to open them.
#include <optional>
#include <string>
#include <string_view>

namespace trevanto {

// The message for a path whose ending names a refused format (".mov", ".mp4",
// ".ram", ".rm", any case); nothing for other paths. Paths of 4 characters or
// fewer are never refused.
std::optional<std::string> RefusalMessageFor(std::string_view path);

}  // namespace trevanto

#pragma once
// Encoders of the parts of a web archive.
#include <optional>
#include <string>
#include <string_view>

namespace trevanto {

// The bytes as text up to the first NUL byte.
std::string EncodePlain(std::string_view bytes);

// RFC 2045 base64 in lines of 48 input bytes (64 characters) ending in CR LF,
// then one more CR LF; empty input gives the empty text.
std::string EncodeBase64(std::string_view bytes);

// The whole file, or nothing when it is missing, empty or unreadable.
std::optional<std::string> ReadPartFile(const std::string& path);

}  // namespace trevanto

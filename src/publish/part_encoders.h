#pragma once
// Encoders of the parts of a web archive.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevanto {

// The bytes as text up to the first NUL byte.
std::string EncodePlain(std::string_view bytes);

// RFC 2045 base64 in lines of 48 input bytes (64 characters) ending in CR LF,
// then one more CR LF; empty input gives the empty text.
std::string EncodeBase64(std::string_view bytes);

// The largest file a web archive embeds: it is held in memory with its
// encoded text while the part is written.
inline constexpr int64_t kMaxEmbeddedFileBytes = int64_t{32} << 20;

// The whole file, or nothing when it is missing, empty, unreadable or larger
// than kMaxEmbeddedFileBytes (then `tooLarge` is set).
std::optional<std::string> ReadPartFile(const std::string& path, bool& tooLarge);

}  // namespace trevanto

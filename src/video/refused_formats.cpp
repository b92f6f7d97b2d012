#include "video/refused_formats.h"

#include "common/paths.h"

namespace trevanto {

std::optional<OpenFailure> RefusedFormatOf(std::string_view path) {
    if (path.size() <= 4)
        return std::nullopt;
    const std::string_view last4 = path.substr(path.size() - 4);
    if (EqualsIgnoreCase(last4, ".mov"))
        return OpenFailure::Quicktime;
    if (EqualsIgnoreCase(last4, ".mp4"))
        return OpenFailure::H264;
    if (EqualsIgnoreCase(last4, ".ram"))
        return OpenFailure::RealMedia;
    if (EqualsIgnoreCase(path.substr(path.size() - 3), ".rm"))
        return OpenFailure::RealMedia;
    return std::nullopt;
}

OpenFailure UndecodableFailure(std::string_view path, OpenFailure failure) {
    if (failure != OpenFailure::CannotPlay)
        return failure;
    return RefusedFormatOf(path).value_or(failure);
}

}  // namespace trevanto

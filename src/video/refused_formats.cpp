#include "video/refused_formats.h"

#include "common/paths.h"
#include "video/player_messages.h"

namespace trevanto {

std::optional<std::string> RefusalMessageFor(std::string_view path) {
    if (path.size() <= 4)
        return std::nullopt;
    const std::string_view last4 = path.substr(path.size() - 4);
    if (EqualsIgnoreCase(last4, ".mov"))
        return message::kQuicktime;
    if (EqualsIgnoreCase(last4, ".mp4"))
        return message::kH264;
    if (EqualsIgnoreCase(last4, ".ram"))
        return message::kRealMedia;
    if (EqualsIgnoreCase(path.substr(path.size() - 3), ".rm"))
        return message::kRealMedia;
    return std::nullopt;
}

}  // namespace trevanto

#pragma once
// Writes one finished page: a part of the run's archive, or a file.
#include <string>
#include <string_view>

namespace trevanto {

class Publisher;

// False when the page could not be written whole; the run goes on.
bool WritePage(Publisher& publisher, const std::string& pagePath, std::string_view text);

}  // namespace trevanto

#pragma once
// Writes one finished page: a part of the run's archive, or a file.
#include <string>
#include <string_view>

namespace trevanto {

class Publisher;

// A page file that cannot be created is skipped; the run goes on.
void WritePage(Publisher& publisher, const std::string& pagePath, std::string_view text);

}  // namespace trevanto

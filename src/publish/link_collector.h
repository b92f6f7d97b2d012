#pragma once
// Finds the files a template refers to (style sheets, scripts, images) and
// rewrites the references to "cid:" names for a web archive.
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

// Three passes: <link href>, <script src>, <img src>. Returns the rewritten
// text; appends each referenced name once (ignoring case) to links.
std::string CollectLinks(std::string_view text, std::vector<std::string>& links);

// A name that stays inside the folder it is relative to: not empty, not
// absolute, no ".." component, no drive or scheme prefix.
bool IsSafeRelativeName(std::string_view name);

}  // namespace trevanto

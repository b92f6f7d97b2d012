#pragma once
// Writing a whole text file the program makes (statistics, shot lists).
#include <string>

namespace trevanto {

// Creates or replaces the file with `text` as a whole; false when it cannot
// be written, and then an old file is left as it was.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace trevanto

#pragma once
// Writing a whole text file the program makes (statistics, shot lists).
#include <string>

namespace trevanto {

// Creates or replaces the file with `text`; false when it cannot be written.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace trevanto

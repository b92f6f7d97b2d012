#pragma once
// printf-style formatting into a std::string, for the program's fixed
// message and caption texts ("Frame=%ld/%ld", "shot %ld=%ld,%ld,%ld", ...).
#include <string>

namespace trevanto {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trevanto

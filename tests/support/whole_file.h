#pragma once
// The bytes of a file as one string: empty when it cannot be read.
#include <fstream>
#include <iterator>
#include <string>

namespace trevanto::test {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace trevanto::test

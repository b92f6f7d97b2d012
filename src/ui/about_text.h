#pragma once
// What the About box says: the program, its version, what it does, the
// licences of the program and of the libraries it is built on, and where the
// user guide is.
#include <string>

namespace trevanto {

std::string AboutText();

}  // namespace trevanto

#pragma once
// Folders only the user may enter: what lives there (the single-instance
// socket) cannot be taken, replaced or reached by another user of the machine.
#include <string>

namespace trevanto {

// True when `path` itself, not a symbolic link to it, is a folder of the
// effective user that neither its group nor others may use.
bool IsPrivateFolder(const std::string& path);

// Makes `path` a folder with mode 0700 unless it exists; true when it is a
// private folder afterwards. One that exists and is not private (another
// user's, open to others, a link) is left as it is and refused.
bool MakePrivateFolder(const std::string& path);

}  // namespace trevanto

#pragma once
// Reading whole files that the user names. Only regular files are read: a
// folder, a FIFO or a device in their place would throw, block or never end.
#include <string>

namespace trevanto {

enum class FileReadStatus {
    kRead,
    kCannotOpen,  // missing, no permission, or a read error
    kNotRegular,  // a folder, FIFO, device or socket
};

// True when the path names a regular file (symbolic links followed).
bool IsRegularFile(const std::string& path);

// Reads the whole file into `bytes` without blocking on a FIFO and without
// throwing. `bytes` is emptied when the status is not kRead.
FileReadStatus ReadRegularFile(const std::string& path, std::string& bytes);

}  // namespace trevanto

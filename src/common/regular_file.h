#pragma once
// Reading files that the user names. Only regular files are read: a folder, a
// FIFO or a device in their place would throw, block or never end. Every read
// has a bound that fits the kind of file: a file beyond it is refused, not
// read, even when it grows while it is read.
#include <cstdint>
#include <string>

namespace trevanto {

enum class FileReadStatus {
    kRead,
    kCannotOpen,  // missing, no permission, or a read error
    kNotRegular,  // a folder, FIFO, device or socket
    kTooLarge,    // more bytes than the reader's bound
};

// True when the path names a regular file (symbolic links followed).
bool IsRegularFile(const std::string& path);

// Reads a regular file piece by piece without blocking on a FIFO and without
// throwing; it refuses the file once more than `maxBytes` bytes are known.
class RegularFileStream {
  public:
    RegularFileStream() = default;
    ~RegularFileStream();
    RegularFileStream(const RegularFileStream&) = delete;
    RegularFileStream& operator=(const RegularFileStream&) = delete;

    // Opens the file; a file whose size is beyond `maxBytes` is refused here,
    // before anything is read.
    FileReadStatus Open(const std::string& path, int64_t maxBytes);
    // The size when the file was opened.
    int64_t Size() const { return size_; }
    // Appends the next piece (at most 64 KB) to `bytes`; `atEnd` is set when
    // nothing was left. kTooLarge when the file has grown beyond the bound.
    FileReadStatus ReadChunk(std::string& bytes, bool& atEnd);

  private:
    int fd_ = -1;
    int64_t size_ = 0;
    int64_t maxBytes_ = 0;
    int64_t read_ = 0;
};

// Reads the whole file into `bytes`, at most `maxBytes` of them. `bytes` is
// emptied when the status is not kRead.
FileReadStatus ReadRegularFile(const std::string& path, std::string& bytes, int64_t maxBytes);

// "16 MB", "1 MB", "512 KB": a bound as the user is told it.
std::string ByteSizeText(int64_t bytes);

}  // namespace trevanto

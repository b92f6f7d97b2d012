#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace trevanto {
namespace {

constexpr size_t kChunkBytes = 64 * 1024;

}  // namespace

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

RegularFileStream::~RegularFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileReadStatus RegularFileStream::Open(const std::string& path, int64_t maxBytes) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = read_ = 0;
    maxBytes_ = maxBytes;
    if (path.empty())
        return FileReadStatus::kCannotOpen;
    // O_NONBLOCK: opening a FIFO without a writer would wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileReadStatus::kCannotOpen;
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode) || info.st_size > maxBytes) {
        ::close(fd);
        if (!known)
            return FileReadStatus::kCannotOpen;
        return S_ISREG(info.st_mode) ? FileReadStatus::kTooLarge : FileReadStatus::kNotRegular;
    }
    fd_ = fd;
    size_ = info.st_size;
    return FileReadStatus::kRead;
}

FileReadStatus RegularFileStream::ReadChunk(std::string& bytes, bool& atEnd) {
    atEnd = false;
    if (fd_ < 0)
        return FileReadStatus::kCannotOpen;
    // One byte past the bound tells a file that grew beyond it.
    const int64_t room = maxBytes_ + 1 - read_;
    const size_t want =
        room < static_cast<int64_t>(kChunkBytes) ? static_cast<size_t>(room) : kChunkBytes;
    const size_t start = bytes.size();
    bytes.resize(start + want);
    ssize_t got = 0;
    do {
        got = ::read(fd_, bytes.data() + start, want);
    } while (got < 0 && errno == EINTR);
    bytes.resize(start + (got > 0 ? static_cast<size_t>(got) : 0));
    if (got < 0)
        return FileReadStatus::kCannotOpen;
    read_ += got;
    if (read_ > maxBytes_) {
        bytes.resize(start);
        return FileReadStatus::kTooLarge;
    }
    atEnd = got == 0;
    return FileReadStatus::kRead;
}

FileReadStatus ReadRegularFile(const std::string& path, std::string& bytes, int64_t maxBytes) {
    bytes.clear();
    RegularFileStream file;
    FileReadStatus status = file.Open(path, maxBytes);
    if (status != FileReadStatus::kRead)
        return status;
    bytes.reserve(static_cast<size_t>(file.Size()));
    for (bool atEnd = false; !atEnd;) {
        status = file.ReadChunk(bytes, atEnd);
        if (status != FileReadStatus::kRead) {
            bytes.clear();
            return status;
        }
    }
    return FileReadStatus::kRead;
}

std::string ByteSizeText(int64_t bytes) {
    constexpr int64_t kKilo = 1024;
    constexpr int64_t kMega = kKilo * kKilo;
    if (bytes >= kMega && bytes % kMega == 0)
        return std::to_string(bytes / kMega) + " MB";
    if (bytes >= kKilo && bytes % kKilo == 0)
        return std::to_string(bytes / kKilo) + " KB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace trevanto

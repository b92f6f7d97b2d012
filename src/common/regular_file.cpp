#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace trevanto {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileReadStatus ReadRegularFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (path.empty())
        return FileReadStatus::kCannotOpen;
    // O_NONBLOCK: opening a FIFO without a writer would wait for one.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0)
        return FileReadStatus::kCannotOpen;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        return FileReadStatus::kCannotOpen;
    if (!S_ISREG(info.st_mode))
        return FileReadStatus::kNotRegular;
    if (info.st_size > 0)
        bytes.reserve(static_cast<size_t>(info.st_size));
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk.data(), chunk.size());
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return FileReadStatus::kCannotOpen;
        }
        bytes.append(chunk.data(), static_cast<size_t>(got));
    }
    return FileReadStatus::kRead;
}

}  // namespace trevanto

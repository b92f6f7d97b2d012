#include "support/full_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace trevanto::test {

FullDisk::FullDisk(int kilobytes) {
    if (::geteuid() != 0) {
        reason_ = "mounting a small tmpfs needs root";
        return;
    }
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0700";
    mounted_ = ::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!mounted_)
        reason_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
}

FullDisk::~FullDisk() {
    if (mounted_)
        ::umount2(folder_.Path().c_str(), MNT_DETACH);
}

void FullDisk::Fill() const {
    const int fd = ::open((folder_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return;
    const std::array<char, 4096> block{};
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
}

}  // namespace trevanto::test

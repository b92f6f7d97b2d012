#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>

namespace trevanto {
namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link is followed to the file it names, so that the link stays a link.
std::string ResolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(path.c_str(), resolved.data()) == nullptr)
        return path;
    return resolved.data();
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(ResolvedTarget(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open() {
    Discard();
    failed_ = false;
    if (path_.empty() || path_.back() == '/')
        return false;
    const size_t slash = path_.rfind('/');
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    const std::string folder = FolderOf(path_);
    struct stat old {};
    const bool replaces = ::stat(path_.c_str(), &old) == 0;
    if (replaces && !S_ISREG(old.st_mode))
        return false;
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A hidden name beside the target: the rename stays in one file system.
        const std::string candidate =
            folder + "/." + name + "." + std::to_string(random() % 1000000000u) + ".tmp";
        // 0666 less the umask, as for any new file; the old file's mode below.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        temporary_ = candidate;
        if (replaces)
            ::fchmod(fd, old.st_mode & 07777);
        stream_ = ::fdopen(fd, "wb");
        if (stream_ == nullptr) {
            ::close(fd);
            Discard();
            return false;
        }
        return true;
    }
    return false;
}

bool AtomicFile::Write(std::string_view bytes) {
    if (stream_ == nullptr || failed_)
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
        failed_ = true;
    return !failed_;
}

bool AtomicFile::Commit() {
    return Sync() && Rename(true);
}

bool AtomicFile::Sync() {
    if (stream_ == nullptr)
        return false;
    bool ok = !failed_ && std::ferror(stream_) == 0 && std::fflush(stream_) == 0 &&
              ::fsync(::fileno(stream_)) == 0;
    ok = std::fclose(stream_) == 0 && ok;
    stream_ = nullptr;
    if (!ok)
        Discard();
    return ok;
}

bool AtomicFile::Rename(bool syncFolder) {
    if (stream_ != nullptr || temporary_.empty())
        return false;
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    if (syncFolder)
        SyncFolder(FolderOf(path_));
    return true;
}

void AtomicFile::Discard() {
    if (stream_ != nullptr)
        std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

AtomicFileBatch::Added AtomicFileBatch::Add(const std::string& path, std::string_view bytes) {
    auto file = std::make_unique<AtomicFile>(path);
    if (!file->Open())
        return Added::CannotOpen;
    // Flushed now: a full disk shows here rather than at the commit.
    if (!file->Write(bytes) || std::fflush(file->Stream()) != 0)
        return Added::WriteFailed;
    files_.push_back(std::move(file));
    return Added::Kept;
}

std::vector<bool> AtomicFileBatch::Commit() {
    std::vector<bool> renamed;
    renamed.reserve(files_.size());
    // Every file on the disk first; the syncs after the first find little
    // left to do.
    for (const std::unique_ptr<AtomicFile>& file : files_)
        renamed.push_back(file->Sync());
    std::vector<std::string> folders;
    for (size_t i = 0; i < files_.size(); ++i) {
        renamed[i] = renamed[i] && files_[i]->Rename(false);
        const std::string folder = FolderOf(files_[i]->Path());
        if (renamed[i] && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const std::string& folder : folders)
        SyncFolder(folder);
    files_.clear();
    return renamed;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    return file.Open() && file.Write(bytes) && file.Commit();
}

bool CopyFileAtomically(const std::string& source, const std::string& destination) {
    // O_NONBLOCK: a FIFO in the source's place must not wait for a writer.
    const int fd = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::unique_ptr<FILE, FileCloser> input(::fdopen(fd, "rb"));
    if (!input) {
        ::close(fd);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    AtomicFile file(destination);
    if (!file.Open())
        return false;
    std::array<char, 65536> chunk{};
    for (;;) {
        const size_t got = std::fread(chunk.data(), 1, chunk.size(), input.get());
        if (got > 0 && !file.Write(std::string_view(chunk.data(), got)))
            return false;
        if (got < chunk.size())
            break;
    }
    return std::ferror(input.get()) == 0 && file.Commit();
}

}  // namespace trevanto

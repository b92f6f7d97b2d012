#pragma once
// Writing a file over an old one without ever leaving a half-written file:
// the bytes go to a temporary file in the same folder, which is flushed to
// the disk and then renamed over the old file. A failure anywhere (a full
// disk, a folder that cannot be written) leaves the old file as it was and
// removes the temporary one.
#include <cstdio>
#include <string>
#include <string_view>

namespace trevanto {

class AtomicFile {
  public:
    // Nothing is created before Open.
    explicit AtomicFile(std::string path);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside the target (a symbolic link is
    // written through to the file it names). The new file gets the old one's
    // permissions, or the usual ones for a new file.
    bool Open();
    // A stdio stream on the temporary file, for writers that want one;
    // null when the file is not open.
    FILE* Stream() const { return stream_; }
    // False once any write has failed.
    bool Write(std::string_view bytes);
    // Flushes, syncs and renames the temporary file over the target. False
    // when any step or an earlier write failed; the target is then untouched.
    bool Commit();

    const std::string& Path() const { return path_; }

  private:
    void Discard();

    std::string path_;  // the target, symbolic links resolved
    std::string temporary_;
    FILE* stream_ = nullptr;
    bool failed_ = false;
};

// Creates or replaces the file with `bytes` as a whole.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
// Copies a regular file over `destination` as a whole.
bool CopyFileAtomically(const std::string& source, const std::string& destination);

}  // namespace trevanto

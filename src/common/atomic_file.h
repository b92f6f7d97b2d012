#pragma once
// Writing a file over an old one without ever leaving a half-written file:
// the bytes go to a temporary file in the same folder, which is flushed to
// the disk and then renamed over the old file. A failure anywhere (a full
// disk, a folder that cannot be written) leaves the old file as it was and
// removes the temporary one.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
    // Commit's two halves, for writers that sync many files before they
    // rename any (AtomicFileBatch): Sync flushes, syncs and closes the
    // temporary file; Rename renames it over the target, then syncs the
    // folder when asked. A failing half removes the temporary file.
    bool Sync();
    bool Rename(bool syncFolder);

    const std::string& Path() const { return path_; }

  private:
    void Discard();

    std::string path_;  // the target, symbolic links resolved
    std::string temporary_;
    FILE* stream_ = nullptr;
    bool failed_ = false;
};

// Many files written as AtomicFile writes each, committed together: each
// file's bytes go to its temporary file when added; Commit syncs every one,
// then renames each over its target and syncs their folders once. Every
// renamed file was whole on the disk before its rename, as with AtomicFile
// (a crash never leaves a target half-written); what a batch changes is that
// its files appear together, and a crash before its commit loses them all,
// and that one wait for the disk serves the batch rather than each file.
class AtomicFileBatch {
  public:
    enum class Added { Kept, CannotOpen, WriteFailed };
    // The temporary file of `path` holds `bytes`; nothing is kept when it
    // cannot be made or written.
    Added Add(const std::string& path, std::string_view bytes);
    size_t Size() const { return files_.size(); }
    // For each file added since the last commit, in order: whether it now
    // stands at its target. Uncommitted files are removed with the batch.
    std::vector<bool> Commit();

  private:
    std::vector<std::unique_ptr<AtomicFile>> files_;
};

// Creates or replaces the file with `bytes` as a whole.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
// Copies a regular file over `destination` as a whole.
bool CopyFileAtomically(const std::string& source, const std::string& destination);

}  // namespace trevanto

#pragma once
// Temporary files that go on every way out: when their owner ends, and when
// SIGINT, SIGTERM or SIGHUP ends the program, once the front end has called
// RemoveTemporaryFilesOnSignals.
#include <string>

namespace trevanto {

class TemporaryFile {
  public:
    // Creates a new empty file `folder`/`prefix` + a unique part + `suffix`,
    // readable by the user only.
    TemporaryFile(const std::string& folder, const std::string& prefix, const std::string& suffix);
    ~TemporaryFile();  // removes the file
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Empty when the file could not be made.
    const std::string& Path() const { return path_; }

  private:
    void ReleaseSlot();

    std::string path_;
    int slot_ = -1;  // where the signal handler finds it; -1 when all are taken
};

// Installs the handler that removes the temporary files still there when a
// terminating signal arrives; the program then ends by that signal as it
// would have without. A signal the program ignores (nohup) stays ignored.
void RemoveTemporaryFilesOnSignals();

}  // namespace trevanto

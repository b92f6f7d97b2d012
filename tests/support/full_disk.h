#pragma once
// A small file system that can be filled, for the writers' behaviour on a
// full disk: a tmpfs of a few pages mounted on a fresh folder. Mounting needs
// root; elsewhere Mounted() is false and the test says why it is skipped.
#include <string>

#include "support/test_clips.h"

namespace trevanto::test {

class FullDisk {
  public:
    explicit FullDisk(int kilobytes = 64);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool Mounted() const { return mounted_; }
    // Why there is no file system, for GTEST_SKIP.
    const std::string& Reason() const { return reason_; }
    std::string operator/(const std::string& name) const { return folder_ / name; }
    // Takes up all the space left with one filler file.
    void Fill() const;

  private:
    TempFolder folder_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace trevanto::test

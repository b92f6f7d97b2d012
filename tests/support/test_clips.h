#pragma once
// The generated clips (tools/clipgen) and a temporary folder for the files a
// test writes.
#include <string>

#include "clipgen/clips.h"

namespace trevanto::test {

using namespace trevanto::clipgen;

// A fresh empty folder under the system's temporary folder, removed with all
// its contents when the object goes away.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& Path() const { return path_; }
    // Path of `name` inside the folder.
    std::string File(const std::string& name) const;
    std::string operator/(const std::string& name) const { return File(name); }

  private:
    std::string path_;
};

}  // namespace trevanto::test

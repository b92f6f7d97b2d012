#pragma once
// The document's long-lived surfaces, made once before the first video opens:
// the 100 x 80 thumbnail surface (the current frame scaled down, read by the
// slicer and the capture) and the screen-size work surface the JPEG export
// scales into.
#include <memory>

#include "picture/surface.h"

namespace trevanto {

inline constexpr int kThumbnailWidth = 100;
inline constexpr int kThumbnailHeight = 80;

class DocumentSurfaces {
  public:
    // Makes the surfaces unless they exist. False, leaving none, when any
    // cannot be made (a work surface of no size, for one).
    bool SetUp(int screenWidth, int screenHeight);
    bool IsSetUp() const { return thumbnail_ != nullptr; }

    Surface* Thumbnail() { return thumbnail_.get(); }
    Surface* Work() { return work_.get(); }

    // Makes the work surface at least width x height (it starts at the
    // screen's size). False, keeping the old one, when that cannot be made.
    bool EnsureWorkSize(int width, int height);

  private:
    std::unique_ptr<Surface> thumbnail_;
    std::unique_ptr<Surface> work_;
};

}  // namespace trevanto

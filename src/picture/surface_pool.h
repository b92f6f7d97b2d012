#pragma once
// A small pool of equal frame surfaces for the streaming thread. A surface
// handed out goes back to the pool when every holder let go of it, on
// whatever thread that happens; the pool's storage outlives the pool object
// while surfaces are out. In steady state nothing is allocated: the surfaces
// and the shared pointers' control blocks are both recycled.
#include <memory>

#include "picture/surface.h"

namespace trevanto {

class SurfacePool {
  public:
    SurfacePool(int width, int height);
    ~SurfacePool();
    SurfacePool(const SurfacePool&) = delete;
    SurfacePool& operator=(const SurfacePool&) = delete;

    // A surface of the pool's size that nobody else holds; a new one when
    // all are out. Null only when memory runs out.
    std::shared_ptr<Surface> Acquire();
    // Surfaces made so far (in and out of the pool).
    int Created() const;
    // The row pitch of the pool's surfaces: libswscale's fast RGB32 writers
    // fill rows in blocks of 8 pixels and write past a row whose width is
    // not a multiple (12 bytes beyond the last row of a 653 pixels wide
    // picture, which corrupted the heap), so rows are padded to 16 pixels.
    static int ConversionPitch(int width);

    struct Store;

  private:
    std::shared_ptr<Store> store_;
};

}  // namespace trevanto

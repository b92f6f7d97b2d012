#pragma once
// How a stored picture is turned to be shown upright. Phones record portrait
// video as landscape pictures and note in the stream's display matrix the
// quarter turn (and, rarely, the mirroring) that shows them upright; every
// player applies it, and so do the frames, thumbnails and images made here.
#include <cstdint>

#include "picture/surface.h"

struct AVStream;

namespace trevanto {

// A signed permutation of the axes: stored pixel (x, y) of a w x h picture
// lands at (xx x + xy y, yx x + yy y), moved back into the picture. Each
// entry is -1, 0 or 1; the identity leaves the picture as stored.
struct Orientation {
    int xx = 1;
    int xy = 0;
    int yx = 0;
    int yy = 1;

    bool IsUpright() const { return xx == 1 && yy == 1; }
    // A quarter turn: the upright picture's width is the stored height.
    bool SwapsSides() const { return xx == 0; }
    int UprightWidth(int width, int height) const { return SwapsSides() ? height : width; }
    int UprightHeight(int width, int height) const { return SwapsSides() ? width : height; }
    bool operator==(const Orientation&) const = default;
};

// From a display matrix as FFmpeg keeps it (16.16 fixed point, row vector
// times matrix): the nearest quarter turn, mirrored where its determinant is
// negative. Null: upright.
Orientation OrientationFromMatrix(const int32_t* matrix);
// The stream's display matrix, upright when it has none.
Orientation StreamOrientation(const AVStream& stream);

// Writes `stored` turned upright into `upright`, whose size must be the
// upright one. Both 32-bit RGB; false otherwise.
bool Reorient(const Surface& stored, Orientation orientation, Surface& upright);

}  // namespace trevanto

#pragma once
// Pictures whose colour spread is known: vertical stripes of two grey levels
// 128 - c and 128 + c give every channel a mean absolute deviation of c.
#include <cstdint>

#include "picture/surface.h"

namespace trevanto::test {

inline void PaintStripes(Surface& surface, int contrast) {
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const auto level = static_cast<uint32_t>(x % 2 == 0 ? 128 - contrast : 128 + contrast);
            surface.SetPixelRgb(x, y, (level << 16) | (level << 8) | level);
        }
    }
}

// Scene k of a synthetic video: a contrast far from that of scene k + 1.
inline int SceneContrast(int scene) {
    return 10 + (scene % 4) * 25;
}

}  // namespace trevanto::test

#include "video/orientation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace trevanto {
namespace {

int Sign(double value) {
    return value < 0.0 ? -1 : 1;
}

}  // namespace

Orientation OrientationFromMatrix(const int32_t* matrix) {
    if (!matrix)
        return {};
    // x' = a x + c y, y' = b x + d y with a, b, c, d at 0, 1, 3, 4.
    const double a = matrix[0], b = matrix[1], c = matrix[3], d = matrix[4];
    // Whichever pair dominates decides between keeping and swapping the
    // axes; an angle between quarter turns goes to the nearest one.
    if (std::abs(a) + std::abs(d) >= std::abs(b) + std::abs(c))
        return {Sign(a), 0, 0, Sign(d)};
    return {0, Sign(c), Sign(b), 0};
}

Orientation StreamOrientation(const AVStream& stream) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t))
        return {};
    int32_t matrix[9];
    std::memcpy(matrix, data, sizeof matrix);
    return OrientationFromMatrix(matrix);
}

bool Reorient(const Surface& stored, Orientation o, Surface& upright) {
    const int width = stored.Width(), height = stored.Height();
    if (!stored.IsValid() || !upright.IsValid() || !stored.Format().IsRgb32() ||
        !upright.Format().IsRgb32() || upright.Width() != o.UprightWidth(width, height) ||
        upright.Height() != o.UprightHeight(width, height))
        return false;
    // Where stored (0, 0) lands, and the steps of the target per stored x
    // and y, in 32-bit words.
    const auto pitch = static_cast<std::ptrdiff_t>(upright.Pitch() / 4);
    const int originX = (o.xx < 0 ? width - 1 : 0) + (o.xy < 0 ? height - 1 : 0);
    const int originY = (o.yx < 0 ? width - 1 : 0) + (o.yy < 0 ? height - 1 : 0);
    const std::ptrdiff_t stepX = o.xx + o.yx * pitch;
    const std::ptrdiff_t stepY = o.xy + o.yy * pitch;
    auto* const target = reinterpret_cast<uint32_t*>(upright.Bits()) + originY * pitch + originX;
    // In tiles, so that the scattered writes of a quarter turn stay in cache.
    constexpr int kTile = 64;
    for (int top = 0; top < height; top += kTile) {
        for (int left = 0; left < width; left += kTile) {
            const int bottom = std::min(top + kTile, height), right = std::min(left + kTile, width);
            for (int y = top; y < bottom; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(stored.Row(y));
                uint32_t* out = target + y * stepY + left * stepX;
                for (int x = left; x < right; ++x, out += stepX)
                    *out = row[x];
            }
        }
    }
    return true;
}

}  // namespace trevanto

#pragma once
// The one pending frame request: an operation that needs the picture of a
// given frame seeks there and acts when that frame's repaint event arrives.
#include <cstdint>

namespace trevanto {

enum class FrameRequestKind : int32_t {
    None = 0,
    JpegExport = 1,  // export the item's shot as a JPEG image
    RefreshThumbnail = 2,
    NextPendingShot = 3,  // give the next shot read from a shots file its thumbnail
    PublishImage = 4,     // the image of a publication
};

struct FrameRequest {
    FrameRequestKind kind = FrameRequestKind::None;
    int32_t item = -1;  // view item the request is about (kinds 1, 2, 4)
    // Frame range of the pending shot (kind 3).
    int32_t start = -1;
    int32_t imageFrame = -1;
    int32_t end = -1;
};

}  // namespace trevanto

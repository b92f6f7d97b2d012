#pragma once
// Why the player could not open a video.
#include <cstdint>

namespace trevanto {

enum class OpenFailure : int32_t {
    Quicktime,   // refused by its name: .mov
    H264,        // .mp4
    RealMedia,   // .rm, .ram
    NoSurfaces,  // the owner could not make its surfaces
    CannotPlay,  // no graph could be built, or the stream has no picture
};

}  // namespace trevanto

#pragma once
// The first frame of a video and its facts, read through the same player and
// graph that play it, for the preview of the video open dialog. Meant to run
// on a thread of its own: the player and its graph live only inside the call.
#include <QImage>

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

namespace trevanto {

struct FirstFrame {
    QImage picture;  // the whole frame, RGB32
    int width = 0;
    int height = 0;
    double seconds = 0.0;     // 0 for a stream without a known length
    int32_t frameCount = -1;  // -1 when unknown
};

// Nothing when the file cannot be opened or played (the open refusals of
// the player included), when no frame comes within `timeoutMs`, or when a
// stop is requested.
std::optional<FirstFrame> ReadFirstFrame(const std::string& path, std::stop_token stop,
                                         int timeoutMs);

}  // namespace trevanto

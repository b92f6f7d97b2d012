#pragma once
// Opens the FFmpeg playback graph for a file or stream URL (http included).
// Matches MediaGraphFactory.
#include <memory>
#include <string>

#include "video/audio_output.h"
#include "video/media_graph.h"

namespace trevanto {

// The graph starts Stopped, paced, at rate 1, with nothing delivered. On
// failure returns null with why in `error`.
std::unique_ptr<MediaGraph> OpenMediaGraph(const OpenRequest& request, OpenError& error);
// The same, with the sound (once asked) played on outputs that `audio` makes.
std::unique_ptr<MediaGraph> OpenMediaGraphWithOutput(const OpenRequest& request, OpenError& error,
                                                     AudioOutputFactory audio);

}  // namespace trevanto

#include "video/open_media_graph.h"

#include "video/ffmpeg_media_graph.h"

#include <utility>

namespace trevanto {

std::unique_ptr<MediaGraph> OpenMediaGraph(const OpenRequest& request, OpenError& error) {
    return OpenMediaGraphWithOutput(request, error, nullptr);
}

std::unique_ptr<MediaGraph> OpenMediaGraphWithOutput(const OpenRequest& request, OpenError& error,
                                                     AudioOutputFactory audio) {
    auto graph = std::make_unique<FfmpegMediaGraph>(std::move(audio));
    if (!graph->Open(request, error))
        return nullptr;
    return graph;
}

}  // namespace trevanto

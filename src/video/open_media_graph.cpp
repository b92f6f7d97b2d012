#include "video/open_media_graph.h"

#include "video/ffmpeg_media_graph.h"

namespace trevanto {

std::unique_ptr<MediaGraph> OpenMediaGraph(const std::string& url, std::string& error) {
    auto graph = std::make_unique<FfmpegMediaGraph>();
    if (!graph->Open(url, error))
        return nullptr;
    return graph;
}

}  // namespace trevanto

#include "video/open_media_graph.h"

#include "video/ffmpeg_media_graph.h"

#include <utility>

namespace trevanto {

std::unique_ptr<MediaGraph> OpenMediaGraph(const std::string& url, std::string& error) {
    return OpenMediaGraphWithOutput(url, error, nullptr);
}

std::unique_ptr<MediaGraph> OpenMediaGraphWithOutput(const std::string& url, std::string& error,
                                                     AudioOutputFactory audio) {
    auto graph = std::make_unique<FfmpegMediaGraph>(std::move(audio));
    if (!graph->Open(url, error))
        return nullptr;
    return graph;
}

}  // namespace trevanto

// A 4K video open in the playback graph: time to the first frame, the rate
// of unpaced decoding with whole RGB32 frames and thumbnails (as playing
// shows them) and with thumbnails alone (as slicing takes them), and the
// process's resident memory before the open, with the video open and
// playing, and after it closed.
//   bench_4k FILE [seconds per run]   (default 10 s)
// Prints "first_frame_ms=.. whole_fps=.. thumbnail_fps=.. rss_mb_before=..
// rss_mb_open=.. rss_mb_peak=.. rss_mb_closed=..".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "graph_owner.h"
#include "video/open_media_graph.h"

namespace {

using namespace trevanto;
using Clock = std::chrono::steady_clock;

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM").
double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::atof(line.c_str() + key.size() + 1) / 1024.0;
    return 0.0;
}

// Frames delivered per second over `seconds` of unpaced play.
double UnpacedRate(MediaGraph& graph, double seconds, bool wholeFrames) {
    graph.PutCurrentPosition(0.0);
    graph.SetPlaybackFrames(wholeFrames);
    bench::GraphOwner owner(graph);
    GraphEvent event;
    const auto start = Clock::now();
    const auto end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    graph.Run();
    long frames = 0;
    while (Clock::now() < end && owner.NextEvent(event, end + std::chrono::seconds(5)) &&
           (event.code == GraphEventCode::Repaint || event.code == GraphEventCode::SeekMissed))
        frames += event.code == GraphEventCode::Repaint;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    graph.Pause();
    return frames / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_4k FILE [seconds per run]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    const double before = StatusMegabytes("VmRSS");
    const auto start = Clock::now();
    OpenError error;
    auto graph = OpenMediaGraph({argv[1]}, error);
    if (!graph) {
        std::fprintf(stderr, "%s\n", MediaErrorText(error.cause, argv[1]).c_str());
        return 1;
    }
    graph->SetPaced(false);
    graph->SetThumbnailSize(100, 80);
    double firstFrameMs = 0.0;
    {
        bench::GraphOwner owner(*graph);
        graph->PutCurrentPosition(0.0);
        GraphEvent event;
        if (owner.NextEvent(event, Clock::now() + std::chrono::seconds(20)))
            firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const double whole = UnpacedRate(*graph, seconds, true);
    const double open = StatusMegabytes("VmRSS");
    const double thumbnails = UnpacedRate(*graph, seconds, false);
    const double peak = StatusMegabytes("VmHWM");
    graph.reset();
    std::printf(
        "first_frame_ms=%.0f whole_fps=%.1f thumbnail_fps=%.1f rss_mb_before=%.0f "
        "rss_mb_open=%.0f rss_mb_peak=%.0f rss_mb_closed=%.0f\n",
        firstFrameMs, whole, thumbnails, before, open, peak, StatusMegabytes("VmRSS"));
    return 0;
}

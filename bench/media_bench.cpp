// The playback graph's speed: unpaced decoding, conversion to RGB32 and
// delivery of a whole clip, and exact seeks into the middle of a GOP.
//   bench_media [clip] [runs]   (default: the generated 720 x 576 MPEG-2 clip)
// Prints "frames=<n> seconds=<s> fps=<f>" (the best of the runs) and
// "seek_ms=<median> ..."; bench/media_bench.sh compares the rate with the
// ffmpeg command line tool.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clipgen/clips.h"
#include "graph_owner.h"
#include "video/open_media_graph.h"

namespace {

using namespace trevanto;
using Clock = std::chrono::steady_clock;
using Owner = bench::GraphOwner;

// An event the benchmark waits for comes within a minute, or never.
Clock::time_point Deadline() {
    return Clock::now() + std::chrono::seconds(60);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : clipgen::MediaPath(clipgen::BenchmarkClip());
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    double best = 1e9;
    int frames = 0;
    std::vector<double> seekTimes;
    for (int run = 0; run < runs; ++run) {
        trevanto::OpenError error;
        auto graph = OpenMediaGraph({path}, error);
        if (!graph) {
            std::fprintf(stderr, "%s\n", trevanto::MediaErrorText(error.cause, path).c_str());
            return 1;
        }
        graph->SetPaced(false);
        Owner owner(*graph);

        const auto start = Clock::now();
        graph->Run();
        frames = 0;
        GraphEvent event;
        while (owner.NextEvent(event, Deadline()) && event.code == GraphEventCode::Repaint)
            ++frames;
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());

        // Seeks to frames in the middle of GOPs (12 frames each), paused.
        graph->Pause();
        const double perFrame = graph->AvgTimePerFrame() > 0.0 ? graph->AvgTimePerFrame() : 0.04;
        for (const int target : {381, 126, 606, 270, 462, 54, 702, 330, 510, 198}) {
            if (target >= frames)
                continue;
            const auto seekStart = Clock::now();
            graph->PutCurrentPosition(target * perFrame);
            if (!owner.NextEvent(event, Deadline()) || event.code != GraphEventCode::Repaint) {
                std::fprintf(stderr, "seek to %d delivered nothing\n", target);
                return 1;
            }
            seekTimes.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - seekStart).count());
            const int code = clipgen::ReadFrameCode(*event.frame);
            if (code >= 0 && code != target) {
                std::fprintf(stderr, "seek to %d delivered frame %d\n", target, code);
                return 1;
            }
        }
    }
    std::printf("frames=%d seconds=%.3f fps=%.1f\n", frames, best, frames / best);
    std::sort(seekTimes.begin(), seekTimes.end());
    if (!seekTimes.empty())
        std::printf("seek_ms=%.1f min=%.1f max=%.1f seeks=%zu\n", seekTimes[seekTimes.size() / 2],
                    seekTimes.front(), seekTimes.back(), seekTimes.size());
    return 0;
}

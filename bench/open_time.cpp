// Opening a file: from the open call to the first frame delivered, as the
// desktop program sees it (open, then Run), best of the runs.
//   bench_open FILE [runs]
// Prints "open_ms=<best> frames=<frame count the graph reports>";
// bench/open_time.sh makes a 600 MB program stream to run it on.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "video/open_media_graph.h"

int main(int argc, char** argv) {
    using namespace trevanto;
    using Clock = std::chrono::steady_clock;
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_open FILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    double best = 1e9;
    double frames = 0.0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        trevanto::OpenError error;
        auto graph = OpenMediaGraph({argv[1]}, error);
        if (!graph) {
            std::fprintf(stderr, "%s\n", error.text.c_str());
            return 1;
        }
        graph->Run();
        GraphEvent event;
        while (!graph->GetEvent(event))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (event.code != GraphEventCode::Repaint) {
            std::fprintf(stderr, "no first frame\n");
            return 1;
        }
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        const double perFrame = graph->AvgTimePerFrame() > 0.0 ? graph->AvgTimePerFrame() : 0.04;
        frames = std::floor(graph->DurationSeconds() / perFrame + 0.5);
    }
    std::printf("open_ms=%.1f frames=%.0f\n", best, frames);
    return 0;
}

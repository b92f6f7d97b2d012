// Opening a file: from the open call to the first frame delivered, as the
// desktop program sees it (open, then Run), best of the runs.
//   bench_open FILE [runs] [index]
// Prints "open_ms=<best> frames=<frame count the graph reports>";
// bench/open_time.sh makes a 600 MB program stream to run it on,
// bench/open_mp4.sh 2 GB MP4 files. With "index" (a file whose rate
// varies), also the time until each picture's time is known, read off the
// user's path: "index_ms=<best> pictures=<count>".
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "video/open_media_graph.h"

int main(int argc, char** argv) {
    using namespace trevanto;
    using Clock = std::chrono::steady_clock;
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_open FILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const bool index = argc > 3 && std::string(argv[3]) == "index";
    double best = 1e9;
    double bestIndex = 1e9;
    size_t pictures = 0;
    double frames = 0.0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        trevanto::OpenError error;
        auto graph = OpenMediaGraph({argv[1]}, error);
        if (!graph) {
            std::fprintf(stderr, "%s\n", trevanto::MediaErrorText(error.cause, argv[1]).c_str());
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
        if (!index)
            continue;
        std::shared_ptr<const std::vector<double>> times;
        while (!(times = graph->PictureSeconds())) {
            if (Clock::now() - start > std::chrono::minutes(2)) {
                std::fprintf(stderr, "no picture index\n");
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        bestIndex = std::min(
            bestIndex, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        pictures = times->size();
    }
    std::printf("open_ms=%.1f frames=%.0f\n", best, frames);
    if (index)
        std::printf("index_ms=%.1f pictures=%zu\n", bestIndex, pictures);
    return 0;
}

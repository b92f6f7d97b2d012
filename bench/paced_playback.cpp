// Paced playback as the desktop program runs it (whole RGB32 frames and a
// 100 x 80 thumbnail each): for each rate, frames dropped and how far each
// frame's arrival strays from the clock (frame time / rate after the first
// frame's arrival). Goal: no dropped frame over 60 s at 1x and 2x of the
// 720 x 576, 25 fps clip, arrivals within 5 ms of the clock at the 99th
// percentile.
//   bench_paced FILE [seconds per rate] [rates...]   (default 60 s; 1 and 2)
// Prints per rate: "rate=<r> frames=<n> dropped=<d> lag_ms=.. p99_ms=.. max_ms=..",
// the strays measured from the median lag.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graph_owner.h"
#include "video/open_media_graph.h"

namespace {

using namespace trevanto;
using Clock = std::chrono::steady_clock;
using Owner = bench::GraphOwner;

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_paced FILE [seconds per rate] [rates...]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 60.0;
    std::vector<double> rates;
    for (int i = 3; i < argc; ++i)
        rates.push_back(std::atof(argv[i]));
    if (rates.empty())
        rates = {1.0, 2.0};
    for (const double rate : rates) {
        trevanto::OpenError error;
        auto graph = OpenMediaGraph({argv[1]}, error);
        if (!graph) {
            std::fprintf(stderr, "%s\n", trevanto::MediaErrorText(error.cause, argv[1]).c_str());
            return 1;
        }
        const double perFrame = graph->AvgTimePerFrame() > 0.0 ? graph->AvgTimePerFrame() : 0.04;
        graph->SetThumbnailSize(100, 80);
        graph->SetRate(rate);
        Owner owner(*graph);
        graph->Run();
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(seconds + 5.0));
        std::vector<double> strays;
        long frames = 0, dropped = 0, last = -1;
        Clock::time_point start;
        double firstSeconds = 0.0;
        GraphEvent event;
        while (owner.NextEvent(event, end) && event.code == GraphEventCode::Repaint) {
            const auto now = Clock::now();
            const long number = std::lround(event.frameSeconds / perFrame);
            if (last < 0) {
                start = now;
                firstSeconds = event.frameSeconds;
            } else {
                dropped += std::max(0L, number - last - 1);
                const double due = (event.frameSeconds - firstSeconds) / rate;
                strays.push_back((std::chrono::duration<double>(now - start).count() - due) *
                                 1000.0);
            }
            last = number;
            ++frames;
            if (std::chrono::duration<double>(now - start).count() >= seconds)
                break;
        }
        // The clock: frame times from the first frame on, shifted by the
        // median lag (the first frame's own conversion, a restart of the
        // graph's clock after a late frame); a stray is the distance from it.
        const double lag = Percentile(strays, 0.5);
        for (double& stray : strays)
            stray = std::fabs(stray - lag);
        std::printf("rate=%.2f frames=%ld dropped=%ld lag_ms=%.2f p99_ms=%.2f max_ms=%.2f\n", rate,
                    frames, dropped, lag, Percentile(strays, 0.99), Percentile(strays, 1.0));
    }
    return 0;
}

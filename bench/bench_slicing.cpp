// The cost of slicing: trevanto-cli slice with the shot engine on the
// 720 x 576 MPEG-2 benchmark clip, against the playback graph decoding the
// same clip unpaced with nothing done per frame. Both run in this one
// process, one after the other, three times each; the best of each counts.
// Goal: slicing takes at most 10 % more time than decoding alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>

#include <time.h>

#include "cli/cli_app.h"
#include "cli/graph_waiter.h"
#include "clipgen/clips.h"
#include "video/open_media_graph.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string& ClipPath() {
    static const std::string path =
        trevanto::clipgen::MediaPath(trevanto::clipgen::BenchmarkClip());
    return path;
}

double bestDecodeFps = 0.0;
double bestThumbnailFps = 0.0;
double bestSliceFps = 0.0;
double bestSliceThreadMsPerFrame = 1e9;

// CPU time of the calling thread: the document's own work in a slicing run,
// while the graph decodes on its streaming thread.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Decodes the whole clip unpaced, with the graph's thumbnails when asked;
// returns the frames delivered.
int64_t DecodeAll(bool thumbnails) {
    trevanto::OpenError error;
    auto graph = trevanto::OpenMediaGraph({ClipPath()}, error);
    if (!graph)
        return 0;
    trevanto::cli::GraphWaiter waiter;
    graph->SetNotify(waiter.Callback());
    graph->SetPaced(false);
    if (thumbnails)
        graph->SetThumbnailSize(100, 80);
    graph->Run();
    int64_t frames = 0;
    trevanto::GraphEvent event;
    for (;;) {
        if (!graph->GetEvent(event)) {
            waiter.Wait(std::chrono::milliseconds(500));
            continue;
        }
        if (event.code == trevanto::GraphEventCode::Repaint) {
            ++frames;
            event = {};
            continue;
        }
        break;  // complete, or an abort
    }
    graph->SetNotify(nullptr);
    return frames;
}

void Decode(benchmark::State& state, bool thumbnails, double& bestFps) {
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const int64_t frames = DecodeAll(thumbnails);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (frames == 0) {
            state.SkipWithError("the benchmark clip cannot be decoded");
            return;
        }
        bestFps = std::max(bestFps, frames / seconds);
        state.counters["fps"] = frames / seconds;
    }
}

// Decoding alone: the graph as it is opened, without thumbnails.
void BM_DecodeOnly(benchmark::State& state) {
    Decode(state, false, bestDecodeFps);
}

// Decoding with the graph's 100 x 80 thumbnails, as the document asks for
// them; the part of slicing's extra time that the graph spends.
void BM_DecodeWithThumbnails(benchmark::State& state) {
    Decode(state, true, bestThumbnailFps);
}

void BM_SliceEngine(benchmark::State& state) {
    const int frames = trevanto::clipgen::BenchmarkClip().frameCount;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        const Clock::time_point start = Clock::now();
        const double cpuStart = ThreadCpuSeconds();
        const int status = trevanto::cli::RunCli({"slice", ClipPath(), "--engine", "--quiet"},
                                                 {out, err, false}, trevanto::OpenMediaGraph);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (status != 0) {
            state.SkipWithError(("slice failed: " + err.str()).c_str());
            return;
        }
        bestSliceFps = std::max(bestSliceFps, frames / seconds);
        bestSliceThreadMsPerFrame =
            std::min(bestSliceThreadMsPerFrame, (ThreadCpuSeconds() - cpuStart) * 1000.0 / frames);
        state.counters["fps"] = frames / seconds;
    }
}

BENCHMARK(BM_DecodeOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_DecodeWithThumbnails)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_SliceEngine)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (bestDecodeFps > 0.0 && bestSliceFps > 0.0) {
        const double extra = (bestDecodeFps / bestSliceFps - 1.0) * 100.0;
        std::printf(
            "decode only: %.1f fps, slice with the engine: %.1f fps, slicing costs %.1f %% "
            "more time (goal: at most 10 %%); the document's own work: %.3f ms of CPU "
            "per frame against %.3f ms per decoded frame\n",
            bestDecodeFps, bestSliceFps, extra, bestSliceThreadMsPerFrame, 1000.0 / bestDecodeFps);
    }
    if (bestDecodeFps > 0.0 && bestThumbnailFps > 0.0) {
        std::printf(
            "decode with the graph's thumbnails: %.1f fps, %.1f %% more time than decode "
            "only\n",
            bestThumbnailFps, (bestDecodeFps / bestThumbnailFps - 1.0) * 100.0);
    }
    return 0;
}

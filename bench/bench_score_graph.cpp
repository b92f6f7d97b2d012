// Drawing the change-score graph of 100,000 frames into a strip the width of
// a wide window, and the shot count of a threshold being dragged. The goal:
// a paint well under a frame time (16 ms), so dragging stays live.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <random>
#include <vector>

#include "shots/score_columns.h"
#include "ui/score_graph_painter.h"

namespace {

constexpr int32_t kFrames = 100000;

trevanto::ChangeScores Scores() {
    trevanto::ChangeScores scores;
    scores.Begin(0.04, 32, 15.0f);
    scores.Add({0, 20.0f, true});
    std::mt19937 random(7);
    std::exponential_distribution<float> noise(2.0f);
    for (int32_t frame = 1; frame < kFrames; ++frame)
        scores.Add({frame, frame % 97 == 0 ? 150.0f : noise(random)});
    scores.Add({kFrames, 0.0f, false, true});
    return scores;
}

void BM_PaintGraph(benchmark::State& state) {
    const auto scores = Scores();
    QImage image(static_cast<int>(state.range(0)), 120, QImage::Format_RGB32);
    trevanto::ScoreGraphState graph;
    graph.scores = &scores;
    graph.frameCount = kFrames;
    graph.current = kFrames / 3;
    graph.rangeStart = 1000;
    graph.rangeEnd = 60000;
    for (auto _ : state) {
        QPainter painter(&image);
        trevanto::PaintScoreGraph(painter, image.rect(), graph, QPalette());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_PaintGraph)->Arg(1200)->Arg(2560)->Unit(benchmark::kMillisecond);

void BM_ShotCountAtThreshold(benchmark::State& state) {
    const auto scores = Scores();
    float threshold = 1.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scores.ShotCountAt(threshold));
        threshold = threshold > 100.0f ? 1.0f : threshold * 1.1f;
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ShotCountAtThreshold)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Text needs fonts, which need an application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

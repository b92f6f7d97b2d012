// How far the graph's thumbnails (planar YUV box-averaged plane by plane,
// only the small picture converted) stray from the reference: the whole
// frame converted to RGB32 and area-averaged down with Surface::StretchFrom.
// Measured on what the shot engine looks at, the spread of each colour
// channel (mean absolute deviation over the thumbnail), for every frame of
// every generated clip.
//   bench_thumbnail_spread   (prints per clip: frames, mean and max of the
//                             spread differences over all frames and channels)
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "clipgen/clips.h"
#include "video/open_media_graph.h"

namespace {

using namespace trevanto;

std::array<double, 3> Spreads(const Surface& surface) {
    std::array<double, 3> mean{}, spread{};
    const int count = surface.Width() * surface.Height();
    for (int pass = 0; pass < 2; ++pass) {
        std::array<double, 3> sum{};
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const uint32_t rgb = surface.PixelRgb(x, y);
                for (int c = 0; c < 3; ++c) {
                    const double v = (rgb >> (16 - 8 * c)) & 0xFF;
                    sum[static_cast<size_t>(c)] +=
                        pass == 0 ? v : std::fabs(v - mean[static_cast<size_t>(c)]);
                }
            }
        }
        for (size_t c = 0; c < 3; ++c)
            (pass == 0 ? mean : spread)[c] = sum[c] / count;
    }
    return spread;
}

}  // namespace

int main() {
    std::vector<clipgen::TestClip> clips = clipgen::TestClips();
    clips.push_back(clipgen::BenchmarkClip());
    double allSum = 0.0, allMax = 0.0;
    long allCount = 0;
    for (const auto& clip : clips) {
        std::string error;
        auto graph = OpenMediaGraph(clipgen::MediaPath(clip), error);
        if (!graph) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        graph->SetPaced(false);
        graph->SetThumbnailSize(100, 80);
        graph->Run();
        double sum = 0.0, most = 0.0;
        int frames = 0;
        Surface reference(100, 80);
        for (GraphEvent event;;) {
            if (!graph->GetEvent(event)) {
                std::this_thread::yield();
                continue;
            }
            if (event.code != GraphEventCode::Repaint)
                break;
            if (!event.frame || !event.thumbnail ||
                !reference.StretchFrom(*event.frame, Rect{0, 0, 100, 80}))
                return 1;
            const auto made = Spreads(*event.thumbnail);
            const auto wanted = Spreads(reference);
            for (size_t c = 0; c < 3; ++c) {
                const double difference = std::fabs(made[c] - wanted[c]);
                sum += difference;
                most = std::max(most, difference);
            }
            ++frames;
        }
        std::printf("%-24s frames=%4d mean=%.3f max=%.3f\n", clip.file.c_str(), frames,
                    sum / (3.0 * frames), most);
        allSum += sum;
        allCount += 3L * frames;
        allMax = std::max(allMax, most);
    }
    std::printf("%-24s mean=%.3f max=%.3f\n", "all", allSum / static_cast<double>(allCount),
                allMax);
    return 0;
}

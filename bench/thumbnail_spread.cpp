// How far the graph's thumbnails (planar YUV box-averaged plane by plane,
// only the small picture converted) stray from the reference: the whole
// frame converted to RGB32 and area-averaged down with Surface::StretchFrom.
// Measured on what the shot engine looks at, the spread of each colour
// channel (mean absolute deviation over the thumbnail), for every frame of
// every generated clip.
// Thumbnail-only playback (SetPlaybackFrames(false)) decodes at reduced
// resolution where it can; it is measured against the same reference.
//   bench_thumbnail_spread   (prints per clip: frames, mean and max of the
//                             spread differences over all frames and channels,
//                             for whole-frame and thumbnail-only playback)
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
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

// Plays the clip unpaced with 100 x 80 thumbnails; calls `take` with every
// repaint event. False when the clip does not open or an event lacks what
// was asked.
template <typename Take>
bool PlayClip(const clipgen::TestClip& clip, bool wholeFrames, Take take) {
    trevanto::OpenError error;
    auto graph = OpenMediaGraph({clipgen::MediaPath(clip)}, error);
    if (!graph) {
        std::fprintf(stderr, "%s\n",
                     trevanto::MediaErrorText(error.cause, clipgen::MediaPath(clip)).c_str());
        return false;
    }
    graph->SetPaced(false);
    graph->SetThumbnailSize(100, 80);
    graph->SetPlaybackFrames(wholeFrames);
    graph->Run();
    for (GraphEvent event;;) {
        if (!graph->GetEvent(event)) {
            std::this_thread::yield();
            continue;
        }
        if (event.code != GraphEventCode::Repaint)
            return true;
        if (!event.thumbnail || (wholeFrames && !event.frame) || !take(event))
            return false;
    }
}

struct Difference {
    double sum = 0.0;
    double most = 0.0;
    long count = 0;
    void Add(const std::array<double, 3>& made, const std::array<double, 3>& wanted) {
        for (size_t c = 0; c < 3; ++c) {
            const double difference = std::fabs(made[c] - wanted[c]);
            sum += difference;
            most = std::max(most, difference);
            ++count;
        }
    }
    void Print(const char* name, const char* what) const {
        std::printf("%-24s %-10s mean=%.3f max=%.3f\n", name, what,
                    sum / static_cast<double>(std::max(count, 1L)), most);
    }
};

}  // namespace

// Per clip, against the reference: the thumbnails of whole-frame playback,
// and those of thumbnail-only playback (decoded at reduced resolution where
// the codec can).
int main() {
    std::vector<clipgen::TestClip> clips = clipgen::TestClips();
    clips.push_back(clipgen::BenchmarkClip());
    Difference allWhole, allAlone;
    for (const auto& clip : clips) {
        std::map<int64_t, std::array<double, 3>> reference;
        Difference whole, alone;
        Surface stretched(100, 80);
        const bool played = PlayClip(clip, true, [&](const GraphEvent& event) {
            if (!stretched.StretchFrom(*event.frame, Rect{0, 0, 100, 80}))
                return false;
            const auto wanted = Spreads(stretched);
            reference[std::llround(event.frameSeconds * 1000)] = wanted;
            whole.Add(Spreads(*event.thumbnail), wanted);
            return true;
        });
        const bool playedAlone = PlayClip(clip, false, [&](const GraphEvent& event) {
            const auto found = reference.find(std::llround(event.frameSeconds * 1000));
            if (found == reference.end())
                return false;
            alone.Add(Spreads(*event.thumbnail), found->second);
            return true;
        });
        if (!played || !playedAlone || alone.count != whole.count) {
            std::fprintf(stderr, "%s: the two playbacks differ\n", clip.file.c_str());
            return 1;
        }
        std::printf("%-24s frames=%ld\n", clip.file.c_str(), whole.count / 3);
        whole.Print("", "whole");
        alone.Print("", "alone");
        for (auto [all, one] : {std::pair{&allWhole, &whole}, std::pair{&allAlone, &alone}}) {
            all->sum += one->sum;
            all->count += one->count;
            all->most = std::max(all->most, one->most);
        }
    }
    allWhole.Print("all", "whole");
    allAlone.Print("all", "alone");
    return 0;
}

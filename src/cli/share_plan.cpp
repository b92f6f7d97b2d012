#include "cli/share_plan.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "video/segment_plan.h"
#include "video/video_decoder.h"

namespace trevanto::cli {

std::vector<int32_t> SegmentEdges(const std::string& url, int32_t frameCount) {
    const std::atomic<bool> never{false};
    VideoDecoder planner(never);
    OpenError error;
    std::vector<int64_t> keys;
    if (planner.Open({url}, error))
        keys = KeyFrameNumbers(planner, url, never);
    std::vector<int32_t> edges;
    for (const Segment& segment : PlanSegments(std::move(keys), kSegmentFrames))
        if (segment.first < frameCount)
            edges.push_back(static_cast<int32_t>(segment.first));
    return edges;
}

std::vector<FrameShare> PlanShares(const std::vector<int32_t>& edges, int32_t frameCount,
                                   int32_t count) {
    std::vector<int32_t> starts = {0};
    for (int64_t k = 1; k < count; ++k) {
        const int64_t target = int64_t{frameCount} * k / count;
        int32_t best = -1;
        for (const int32_t edge : edges)
            if (edge > starts.back() &&
                (best < 0 || std::abs(edge - target) < std::abs(best - target)))
                best = edge;
        if (best > 0)
            starts.push_back(best);
    }
    std::vector<FrameShare> shares;
    for (size_t i = 0; i < starts.size(); ++i)
        shares.push_back({starts[i], i + 1 < starts.size() ? starts[i + 1] - 1 : frameCount - 1});
    return shares;
}

bool IsShareOnEdges(const std::vector<int32_t>& edges, int32_t frameCount, FrameShare share) {
    const auto isEdge = [&](int32_t frame) {
        return std::find(edges.begin(), edges.end(), frame) != edges.end();
    };
    return isEdge(share.first) && (share.second == frameCount - 1 || isEdge(share.second + 1));
}

}  // namespace trevanto::cli

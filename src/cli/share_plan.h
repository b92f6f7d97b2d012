#pragma once
// One long video sliced on several machines: shares of its frames cut at
// the edges of the segments a run decodes apart (video/segment_plan.h), so
// that each machine decodes its share as a single run's workers do.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace trevanto::cli {

using FrameShare = std::pair<int32_t, int32_t>;  // first and last frame

// The first frames of the segments of the video at `url` (0 first), as a
// run plans them; only 0 when its key frames cannot be read.
std::vector<int32_t> SegmentEdges(const std::string& url, int32_t frameCount);

// About `count` shares of `frameCount` frames as even as the edges allow
// (fewer when there are fewer segments), each starting at an edge.
std::vector<FrameShare> PlanShares(const std::vector<int32_t>& edges, int32_t frameCount,
                                   int32_t count);

// Whether `share` starts at an edge and ends before one or at the last frame.
bool IsShareOnEdges(const std::vector<int32_t>& edges, int32_t frameCount, FrameShare share);

}  // namespace trevanto::cli

#pragma once
// A slicing run's video cut into segments that workers decode apart: each
// starts at a key frame and runs up to the next segment's first frame. The
// plan depends on the file alone (its key frames and the segment size),
// never on how many workers decode it, so that every machine cuts the same.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

class VideoDecoder;

struct Segment {
    int64_t first = 0;
    int64_t last = -1;  // -1: up to the end of the video
    bool operator==(const Segment&) const = default;
};

// Frames a segment holds at least (the last may hold fewer): about ten
// seconds of decoding at 25 frames a second, so that a seek and the frames
// decoded before the segment's first cost little beside it.
inline constexpr int64_t kSegmentFrames = 250;

// Segments starting at the first frame and at key frames (frame numbers,
// in any order) at least `minFrames` after the segment before.
std::vector<Segment> PlanSegments(std::vector<int64_t> keyFrames, int64_t minFrames);

// The frame numbers of the video's key frames, as `decoder` (opened on
// `url`) numbers pictures: from the container's index where it lists them
// by presentation time, else from a scan of the stream's packets without
// decoding. A key frame known only by its decoding time counts a few
// frames later, so that a seek to it lands on it rather than a GOP
// earlier. Empty when the scan failed or `abort` was set.
std::vector<int64_t> KeyFrameNumbers(VideoDecoder& decoder, const std::string& url,
                                     const std::atomic<bool>& abort);

}  // namespace trevanto

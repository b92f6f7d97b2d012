#pragma once
// One worker's decoding of a slicing run's segments: a demuxer and a
// single-threaded decoder of its own, sought afresh to each segment's first
// frame, and every frame of the segment that is wanted shrunk to the
// thumbnail the playback graph would deliver for it in a run (the run's
// first frame whole, the others at half size where the graph decodes them
// so). What a segment
// gives depends on the file alone, not on the worker or what it decoded
// before.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "picture/surface.h"
#include "video/frame_converter.h"
#include "video/segment_plan.h"
#include "video/video_decoder.h"

namespace trevanto {

enum class SegmentEnd { Done, Failed, Stopped };

class SegmentDecoder {
  public:
    // Reads give up once `stop` is set.
    SegmentDecoder(const std::atomic<bool>& stop, int thumbnailWidth, int thumbnailHeight);

    bool Open(const std::string& url, OpenError& error);
    VideoDecoder& Decoder() { return decoder_; }

    // Hands each frame of `segment` in order to `onFrame` with its number
    // and thumbnail (valid during the call), or a null thumbnail for a frame
    // `wanted` (null: every frame) passes over, which is decoded but not
    // shrunk. Frames whose picture cannot be shrunk are left out, as the
    // graph leaves them out. `runStart` is the run's first frame, which
    // comes whole. Done at the segment's end or the video's; Stopped once
    // `stop` is set.
    using FrameSink = std::function<void(int64_t frame, Surface* thumbnail)>;
    using FrameFilter = std::function<bool(int64_t frame)>;
    SegmentEnd Decode(const Segment& segment, int64_t runStart, const FrameFilter& wanted,
                      const FrameSink& onFrame);

  private:
    const std::atomic<bool>& stop_;
    VideoDecoder decoder_;
    FrameConverter converter_;
    Surface thumbnail_;
    int reduction_ = 0;
};

}  // namespace trevanto

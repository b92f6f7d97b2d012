#pragma once
// A slicing run over a video in segments decoded side by side
// (video/segment_pool.h), owned by a background thread of its own: it plans
// the segments, runs the workers and hands each segment's analysed frames,
// in frame order, to its owner's thread as queued events. The owner feeds
// them through the detector's rule (shots/run_stitcher.h), so the shots and
// scores are those of a single run whatever the number of workers.
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "shots/run_stitcher.h"
#include "video/segment_plan.h"

namespace trevanto {

struct ParallelSlicingSetup {
    std::string url;  // the video the player opened: a file or a stream URL
    SlicingMode mode = SlicingMode::Engine;
    // The engine's detector and threshold: what the workers measure and which
    // pictures they keep.
    SlicingSettings detection;
    int32_t stepFrames = 1;  // the sampler's: one frame kept every step from `first`
    int32_t first = 0;       // the run's first frame
    int32_t last = -1;       // its last (the end mark), -1: the video's
    int jobs = 1;            // workers wanted (bounded by their memory)
    int64_t segmentFrames = kSegmentFrames;  // smaller in tests, to cross segments
    // A share of a run from this frame: the run's first frame is decoded as
    // that run decodes it (whole only at its start). -1: the run's own.
    int32_t wholeRunStart = -1;
};

// What the run hands its owner, in order: each segment's frames, then once
// the end.
struct ParallelSlicingEvent {
    // The analysed frames of the next segment: every frame for the engine
    // (the picture kept where a shot may start), the kept frames with their
    // pictures for the sampler; past `last`, the one frame after it.
    std::vector<AnalysedFrame> frames;
    int32_t lastFrame = -1;  // the last frame decoded, wanted or not
    bool end = false;        // the run is over; nothing follows
    bool complete = false;   // (end) every segment was decoded to its end
};

class ParallelSlicing {
  public:
    // Starts the owner thread; `notify` (called on it) must only wake the
    // owner's thread, which then takes the events.
    ParallelSlicing(ParallelSlicingSetup setup, std::function<void()> notify);
    // Stops the run and joins every thread.
    ~ParallelSlicing();
    ParallelSlicing(const ParallelSlicing&) = delete;
    ParallelSlicing& operator=(const ParallelSlicing&) = delete;

    // Every worker ends within a frame; the end event follows. Any thread.
    void Stop() { stop_ = true; }
    // The next event, if one waits.
    bool TakeEvent(ParallelSlicingEvent& event);

  private:
    void Run();
    void Post(ParallelSlicingEvent event);

    const ParallelSlicingSetup setup_;
    const std::function<void()> notify_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<ParallelSlicingEvent> events_;
    std::thread owner_;  // last: it uses all of the above
};

// The segments of `plan` within frames [first, last] (last -1: to the end).
std::vector<Segment> SegmentsWithin(const std::vector<Segment>& plan, int64_t first, int64_t last);

}  // namespace trevanto

#include "slicing/parallel_slicing.h"

#include <algorithm>
#include <cstring>

#include "video/segment_pool.h"
#include "video/worker_budget.h"

namespace trevanto {
namespace {

constexpr int kThumbnailWidth = 100, kThumbnailHeight = 80;

}  // namespace

std::vector<Segment> SegmentsWithin(const std::vector<Segment>& plan, int64_t first, int64_t last) {
    std::vector<Segment> within;
    for (const Segment& segment : plan) {
        if (last >= 0 && segment.first > last)
            break;
        if (segment.last >= 0 && segment.last < first)
            continue;
        Segment clipped{std::max(segment.first, first), segment.last};
        if (last >= 0 && (clipped.last < 0 || clipped.last > last))
            clipped.last = last;
        within.push_back(clipped);
    }
    return within;
}

ParallelSlicing::ParallelSlicing(ParallelSlicingSetup setup, std::function<void()> notify)
    : setup_(std::move(setup)), notify_(std::move(notify)), owner_([this] { Run(); }) {}

ParallelSlicing::~ParallelSlicing() {
    Stop();
    owner_.join();
}

bool ParallelSlicing::TakeEvent(ParallelSlicingEvent& event) {
    const std::lock_guard lock(mutex_);
    if (events_.empty())
        return false;
    event = std::move(events_.front());
    events_.pop_front();
    return true;
}

void ParallelSlicing::Post(ParallelSlicingEvent event) {
    {
        const std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    if (notify_)
        notify_();
}

void ParallelSlicing::Run() {
    ParallelSlicingEvent end;
    end.end = true;
    VideoDecoder planner(stop_);
    OpenError error;
    if (!planner.Open({setup_.url}, error)) {
        Post(std::move(end));
        return;
    }
    // A ranged run decodes the frame after its end too: it closes the run,
    // as the first frame past the end mark closes a played run.
    const int64_t last = setup_.last < 0 ? -1 : int64_t{setup_.last} + 1;
    const std::vector<Segment> segments = SegmentsWithin(
        PlanSegments(KeyFrameNumbers(planner, setup_.url, stop_), setup_.segmentFrames),
        setup_.first, last);
    // 10-bit and deeper pictures take two bytes a sample.
    const int workers = BoundedWorkers(setup_.jobs, planner.Width(), planner.Height(),
                                       planner.BitsPerSample() > 8 ? 2 : 1);
    SegmentPool<AnalysedFrame>::Setup pool;
    pool.url = setup_.url;
    pool.segments = segments;
    pool.workers = workers;
    pool.thumbnailWidth = kThumbnailWidth;
    pool.thumbnailHeight = kThumbnailHeight;
    pool.runStart = setup_.wholeRunStart < 0 ? setup_.first : setup_.wholeRunStart;
    SegmentPool<AnalysedFrame>::Analysis analysis;
    if (setup_.mode == SlicingMode::Sampler) {
        const int64_t first = setup_.first, step = std::max(setup_.stepFrames, 1);
        pool.wanted = [first, step, last](int64_t frame) {
            return (frame - first) % step == 0 || frame == last;
        };
        analysis = [](int64_t frame, Surface& thumbnail, const AnalysedFrame*) {
            return AnalysedFrame{static_cast<int32_t>(frame), MeasureWholeSurface(thumbnail),
                                 SharedCopy(thumbnail)};
        };
    } else {
        analysis = [detection = setup_.detection](int64_t frame, Surface& thumbnail,
                                                  const AnalysedFrame* previous) {
            AnalysedFrame analysed{
                static_cast<int32_t>(frame),
                MeasureWholeSurface(thumbnail, detection.detector == ShotDetector::Content),
                {}};
            if (MayStartShot(previous, analysed, detection))
                analysed.picture = SharedCopy(thumbnail);
            return analysed;
        };
    }
    SegmentPool<AnalysedFrame> workersPool(std::move(pool), std::move(analysis));
    size_t taken = 0;
    bool failed = false;
    SegmentPool<AnalysedFrame>::SegmentResult result;
    while (!failed && workersPool.Next(result, &stop_)) {
        ++taken;
        // A segment that could not be decoded to its end ends the run there.
        failed = result.end != SegmentEnd::Done;
        Post({std::move(result.frames), static_cast<int32_t>(result.lastFrame), false, false});
    }
    end.complete = !failed && !stop_ && !workersPool.OpenFailure() && taken == segments.size();
    Post(std::move(end));
}

}  // namespace trevanto

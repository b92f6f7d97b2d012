#pragma once
// The pictures of a frame job's items (the JPEG images of shots, the images
// of a publication), made by workers segment by segment instead of by seeking
// the player to each item. The video is cut at its key frames as a slicing
// run cuts it (segment_plan); each worker takes the next segment an item
// needs, seeks afresh to its first frame and decodes on through it, never
// back, handing each wanted frame, whole and upright as the playback graph
// converts it, to the caller's Produce on its own thread. Item k's result
// is taken in the items' order by one consumer (Take), which never waits
// for a segment the workers may not start: they run at most a window of
// segments past the furthest one asked for.
//
// A wanted frame is the frame of that number, else the first one after it,
// else (past the end) the last frame: what an exact seek gives on an intact
// file. On a damaged file it is the picture decoded on from the segment's
// key frame, the one a slicing run saw, which a seek may not give.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "picture/surface.h"
#include "picture/surface_pool.h"
#include "video/frame_converter.h"
#include "video/segment_plan.h"
#include "video/video_decoder.h"
#include "video/worker_budget.h"

namespace trevanto {

template <typename Result>
class SegmentFrames {
  public:
    // What a worker makes of a wanted frame's picture. Called on the
    // workers' threads at once: it must keep no shared state.
    using Produce = std::function<Result(int64_t frame, const Surface& picture)>;

    struct Setup {
        std::string url;             // a local file
        std::vector<int64_t> items;  // each item's frame, in the items' order; -1: none
        int workers = 1;             // at most; the memory budget may allow fewer
        int64_t segmentFrames = kSegmentFrames;
        // Called on a worker's thread after each picture is made: it must
        // only wake the consumer. May be empty.
        std::function<void()> made;
    };

    enum class State { Ready, Pending, Unreachable, Failed };

    SegmentFrames(Setup setup, Produce produce)
        : setup_(std::move(setup)), produce_(std::move(produce)) {
        const int workers = std::max(setup_.workers, 1);
        window_ = 2 * static_cast<size_t>(workers);
        for (const int64_t frame : setup_.items)
            if (frame >= 0)
                ++needs_[frame];
        for (int i = 0; i < workers; ++i)
            threads_.emplace_back([this, i] { Work(i); });
    }
    ~SegmentFrames() {
        Stop();
        for (std::thread& thread : threads_)
            thread.join();
    }
    SegmentFrames(const SegmentFrames&) = delete;
    SegmentFrames& operator=(const SegmentFrames&) = delete;

    // Every worker ends within a frame. Any thread.
    void Stop() {
        stop_ = true;
        const std::lock_guard lock(mutex_);
        changed_.notify_all();
    }

    // Item k's result, waiting at most `wait` for it: Ready (in `result`),
    // Pending while it is being made, Unreachable when its frame could not
    // be decoded, Failed when the video could not be opened or cut. Each
    // item is taken once.
    State Take(size_t item, std::chrono::milliseconds wait, Result& result) {
        const int64_t frame = item < setup_.items.size() ? setup_.items[item] : -1;
        if (frame < 0)
            return State::Unreachable;
        std::unique_lock lock(mutex_);
        const auto until = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (failed_)
                return State::Failed;
            if (planned_) {
                const size_t place = placeOf_[SegmentOf(frame)];
                if (place + 1 > reached_) {
                    reached_ = place + 1;
                    changed_.notify_all();
                }
                if (const auto made = made_.find(frame); made != made_.end()) {
                    const bool last = --needs_[frame] == 0;
                    if (!made->second)
                        return State::Unreachable;
                    result = last ? std::move(*made->second) : *made->second;
                    if (last)
                        made_.erase(made);
                    return State::Ready;
                }
            }
            if (changed_.wait_until(lock, until) == std::cv_status::timeout)
                return State::Pending;
        }
    }

  private:
    size_t SegmentOf(int64_t frame) const {
        const auto after =
            std::upper_bound(segments_.begin(), segments_.end(), frame,
                             [](int64_t f, const Segment& segment) { return f < segment.first; });
        return after == segments_.begin() ? 0 : static_cast<size_t>(after - segments_.begin() - 1);
    }

    // Cuts the video and orders its segments by the first item needing
    // them. False when it could not.
    bool Plan(VideoDecoder& decoder) {
        std::vector<Segment> segments =
            PlanSegments(KeyFrameNumbers(decoder, setup_.url, stop_), setup_.segmentFrames);
        if (segments.empty() || stop_)
            return false;
        const int workers = BoundedWorkers(setup_.workers, decoder.Width(), decoder.Height(),
                                           decoder.BitsPerSample() > 8 ? 2 : 1);
        const std::lock_guard lock(mutex_);
        segments_ = std::move(segments);
        wanted_.assign(segments_.size(), {});
        placeOf_.assign(segments_.size(), 0);
        std::vector<bool> placed(segments_.size(), false);
        for (const int64_t frame : setup_.items) {
            if (frame < 0)
                continue;
            const size_t segment = SegmentOf(frame);
            wanted_[segment].push_back(frame);
            if (!placed[segment]) {
                placed[segment] = true;
                placeOf_[segment] = order_.size();
                order_.push_back(segment);
            }
        }
        for (std::vector<int64_t>& frames : wanted_) {
            std::sort(frames.begin(), frames.end());
            frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
        }
        allowed_ = workers;
        planned_ = true;
        changed_.notify_all();
        return true;
    }

    void Work(int worker) {
        VideoDecoder decoder(stop_);
        OpenError error;
        const bool opened = decoder.Open({setup_.url}, error);
        if (worker == 0 && !(opened && Plan(decoder))) {
            {
                const std::lock_guard lock(mutex_);
                failed_ = true;
                changed_.notify_all();
            }
            if (setup_.made)
                setup_.made();
            return;
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || failed_ || planned_; });
        // A worker past the budget, or one that could not open the video
        // (the first one could), leaves the segments to the others.
        if (stop_ || failed_ || worker >= allowed_ || !opened)
            return;
        FrameConverter converter;
        std::unique_ptr<Surface> picture;
        for (;;) {
            changed_.wait(lock, [&] {
                return stop_ || taken_ >= order_.size() || taken_ < reached_ + window_;
            });
            if (stop_ || taken_ >= order_.size())
                return;
            const size_t segment = order_[taken_++];
            lock.unlock();
            Decode(decoder, converter, picture, segment);
            lock.lock();
        }
    }

    // Decodes the segment from its first frame on to its last wanted one.
    void Decode(VideoDecoder& decoder, FrameConverter& converter, std::unique_ptr<Surface>& picture,
                size_t segment) {
        const std::vector<int64_t>& wanted = wanted_[segment];
        DecodedFrame frame;
        DecodedFrame before;
        DecodeResult result = decoder.SeekFresh(segments_[segment].first, 0, frame);
        for (const int64_t target : wanted) {
            while (result == DecodeResult::Frame && frame.number < target) {
                if (stop_)
                    return;
                before = std::move(frame);
                result = decoder.DecodeNext(frame);
            }
            // Past the end the last frame stands for the ones after it.
            if (result == DecodeResult::End && before.picture) {
                std::swap(frame, before);
                result = DecodeResult::Frame;
            }
            std::optional<Result> made;
            if (result == DecodeResult::Frame &&
                Convert(converter, frame, decoder.DisplayOrientation(), picture))
                made = produce_(target, *picture);
            {
                const std::lock_guard lock(mutex_);
                made_.emplace(target, std::move(made));
                changed_.notify_all();
            }
            if (setup_.made)
                setup_.made();
        }
    }

    // The picture as the playback graph converts it for the player.
    static bool Convert(FrameConverter& converter, const DecodedFrame& frame,
                        Orientation orientation, std::unique_ptr<Surface>& picture) {
        const AVFrame& stored = *frame.picture;
        const int width = orientation.UprightWidth(stored.width, stored.height);
        const int height = orientation.UprightHeight(stored.width, stored.height);
        if (width <= 0 || height <= 0)
            return false;
        if (!picture || picture->Width() != width || picture->Height() != height)
            picture = std::make_unique<Surface>(width, height, PixelFormat::Rgb32(),
                                                SurfacePool::ConversionPitch(width));
        if (!converter.Convert(stored, *picture, orientation))
            return false;
        picture->SetPixelAspect(orientation.SwapsSides() ? 1.0 / frame.pixelAspect
                                                         : frame.pixelAspect);
        return true;
    }

    const Setup setup_;
    const Produce produce_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool planned_ = false;
    bool failed_ = false;
    int allowed_ = 1;                           // workers the memory budget allows
    std::vector<Segment> segments_;             // set once planned, then read only
    std::vector<std::vector<int64_t>> wanted_;  // each segment's wanted frames, ascending
    std::vector<size_t> order_;                 // segments in the order items need them
    std::vector<size_t> placeOf_;               // each segment's place in order_
    size_t window_ = 2;
    size_t taken_ = 0;              // places of order_ handed to workers
    size_t reached_ = 0;            // places of order_ the consumer asked for, plus one
    std::map<int64_t, int> needs_;  // items still to take each frame
    std::map<int64_t, std::optional<Result>> made_;  // nullopt: unreachable
    std::vector<std::thread> threads_;               // last: they use all of the above
};

}  // namespace trevanto

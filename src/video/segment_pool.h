#pragma once
// A pool of workers that decode a run's segments side by side, each with a
// SegmentDecoder of its own, taking the segments in order. Each frame's
// thumbnail goes through the caller's analysis on the worker's thread; the
// results come back a segment at a time, in the segments' order, to one
// consumer. Workers run at most a window of segments ahead of the consumer,
// so that memory stays bounded however slow it is.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "video/segment_decoder.h"

namespace trevanto {

template <typename FrameResult>
class SegmentPool {
  public:
    // What a worker makes of a frame's thumbnail; `previous` is the result of
    // the frame before it in the same segment, null for a segment's first.
    // Called on the workers' threads at once: it must keep no state.
    using Analysis =
        std::function<FrameResult(int64_t frame, Surface& thumbnail, const FrameResult* previous)>;

    struct SegmentResult {
        size_t index = 0;
        std::vector<FrameResult> frames;
        int64_t lastFrame = -1;  // the last frame decoded, wanted or not
        SegmentEnd end = SegmentEnd::Done;
    };

    struct Setup {
        std::string url;
        std::vector<Segment> segments;
        int workers = 1;
        int thumbnailWidth = 100;
        int thumbnailHeight = 80;
        int64_t runStart = 0;  // the run's first frame, which comes whole
        // The frames the analysis takes (null: all); the others are decoded
        // and passed over.
        SegmentDecoder::FrameFilter wanted;
    };

    SegmentPool(Setup setup, Analysis analysis)
        : setup_(std::move(setup)), analysis_(std::move(analysis)) {
        window_ = 2 * static_cast<size_t>(std::max(setup_.workers, 1));
        for (int i = 0; i < std::max(setup_.workers, 1); ++i)
            threads_.emplace_back([this] { Work(); });
    }
    ~SegmentPool() {
        Stop();
        for (std::thread& thread : threads_)
            thread.join();
    }
    SegmentPool(const SegmentPool&) = delete;
    SegmentPool& operator=(const SegmentPool&) = delete;

    // Every worker stops within a frame; a segment under way comes back
    // Stopped. Any thread.
    void Stop() {
        stop_ = true;
        const std::lock_guard lock(mutex_);
        changed_.notify_all();
    }

    // The next segment's result, waiting for it; false once every segment
    // came back, or after a stop or `cancel` (polled while waiting).
    bool Next(SegmentResult& result, const std::atomic<bool>* cancel = nullptr) {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (cancel && *cancel && !stop_) {
                lock.unlock();
                Stop();
                lock.lock();
            }
            if (const auto ready = ready_.find(consumed_); ready != ready_.end()) {
                result = std::move(ready->second);
                ready_.erase(ready);
                ++consumed_;
                changed_.notify_all();
                return true;
            }
            if (stop_ || consumed_ >= setup_.segments.size() || openFailed_)
                return false;
            changed_.wait_for(lock, std::chrono::milliseconds(20));
        }
    }

    // Why a worker could not open the video, when one could not.
    std::optional<OpenError> OpenFailure() const {
        const std::lock_guard lock(mutex_);
        return openFailed_ ? std::optional(openError_) : std::nullopt;
    }

  private:
    void Work() {
        SegmentDecoder decoder(stop_, setup_.thumbnailWidth, setup_.thumbnailHeight);
        OpenError error;
        if (!decoder.Open(setup_.url, error)) {
            const std::lock_guard lock(mutex_);
            if (!openFailed_ && !stop_) {
                openFailed_ = true;
                openError_ = error;
            }
            changed_.notify_all();
            return;
        }
        for (;;) {
            size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stop_ || openFailed_ || taken_ >= setup_.segments.size() ||
                           taken_ < consumed_ + window_;
                });
                if (stop_ || openFailed_ || taken_ >= setup_.segments.size())
                    return;
                index = taken_++;
            }
            SegmentResult result;
            result.index = index;
            result.end = decoder.Decode(
                setup_.segments[index], setup_.runStart, setup_.wanted,
                [&](int64_t frame, Surface* thumb) {
                    result.lastFrame = frame;
                    if (thumb)
                        result.frames.push_back(
                            analysis_(frame, *thumb,
                                      result.frames.empty() ? nullptr : &result.frames.back()));
                });
            const std::lock_guard lock(mutex_);
            ready_.emplace(index, std::move(result));
            changed_.notify_all();
        }
    }

    const Setup setup_;
    const Analysis analysis_;
    size_t window_ = 2;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    size_t taken_ = 0;     // segments handed to workers
    size_t consumed_ = 0;  // segments handed to the consumer
    std::map<size_t, SegmentResult> ready_;
    bool openFailed_ = false;
    OpenError openError_;
    std::vector<std::thread> threads_;  // last: they use all of the above
};

}  // namespace trevanto

#pragma once
// The owner's side of a graph in the benchmarks: sleeps until the graph's
// notify callback wakes it, as the desktop program's event loop does.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "video/media_graph.h"

namespace trevanto::bench {

class GraphOwner {
  public:
    using Clock = std::chrono::steady_clock;

    explicit GraphOwner(MediaGraph& graph) : graph_(graph) {
        graph.SetNotify([this] {
            const std::lock_guard lock(mutex_);
            pending_ = true;
            signal_.notify_one();
        });
    }
    ~GraphOwner() { graph_.SetNotify(nullptr); }
    GraphOwner(const GraphOwner&) = delete;
    GraphOwner& operator=(const GraphOwner&) = delete;

    // False when no event came by `deadline`.
    bool NextEvent(GraphEvent& event, Clock::time_point deadline) {
        while (!graph_.GetEvent(event)) {
            std::unique_lock lock(mutex_);
            if (!signal_.wait_until(lock, deadline, [this] { return pending_; }))
                return false;
            pending_ = false;
        }
        return true;
    }

  private:
    MediaGraph& graph_;
    std::mutex mutex_;
    std::condition_variable signal_;
    bool pending_ = false;
};

}  // namespace trevanto::bench

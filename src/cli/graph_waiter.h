#pragma once
// Wakes the command line's one thread when the graph queued an event. The
// graph's streaming thread calls Notify; the main thread waits.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace trevanto::cli {

class GraphWaiter {
  public:
    void Notify();
    // Waits for a notification since the last wait; false on timeout.
    bool Wait(std::chrono::milliseconds timeout);
    // A callback for the graph; it must not outlive the waiter.
    std::function<void()> Callback() {
        return [this] { Notify(); };
    }

  private:
    std::mutex mutex_;
    std::condition_variable condition_;
    bool notified_ = false;
};

}  // namespace trevanto::cli

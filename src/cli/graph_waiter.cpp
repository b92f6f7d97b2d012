#include "cli/graph_waiter.h"

namespace trevanto::cli {

void GraphWaiter::Notify() {
    {
        const std::lock_guard lock(mutex_);
        notified_ = true;
    }
    condition_.notify_one();
}

bool GraphWaiter::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const bool woken = condition_.wait_for(lock, timeout, [this] { return notified_; });
    notified_ = false;
    return woken;
}

}  // namespace trevanto::cli

#include "video/worker_thread.h"

#include <utility>

namespace trevanto {

void WorkerThread::Start(std::function<void(Lock&)> round) {
    thread_ = std::thread([this, round = std::move(round)] {
        Lock lock(mutex_);
        while (!stopping_)
            round(lock);
    });
}

void WorkerThread::RequestStop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
}

void WorkerThread::Stop() {
    RequestStop();
    if (thread_.joinable())
        thread_.join();
}

}  // namespace trevanto

#pragma once
// The media layer's worker thread: the graph's streaming thread, the sound
// track's and the frame converter's. Its owner keeps its state under a mutex
// of its own and gives the loop's round; the thread runs that round under
// the mutex, again and again, until a stop is asked. Waits made through the
// thread also end when a stop is asked, so that no round can hold up a stop.
// The destructor asks the stop and joins: a member declared after everything
// the round touches.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace trevanto {

class WorkerThread {
  public:
    using Lock = std::unique_lock<std::mutex>;
    using Clock = std::chrono::steady_clock;

    // `mutex` guards the owner's state and outlives the thread.
    explicit WorkerThread(std::mutex& mutex) : mutex_(mutex) {}
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `round` with the mutex held until a stop is asked. Once.
    void Start(std::function<void(Lock&)> round);
    // Every wait looks at the owner's state again.
    void Wake() { changed_.notify_all(); }
    // The thread ends after its current round; its waits end now. Does not
    // wait for it.
    void RequestStop();
    // Asks the stop and waits for the thread to end.
    void Stop();
    // Under the mutex: whether a stop was asked.
    bool Stopping() const { return stopping_; }

    // Under the mutex, by the thread or its owner: wait until `ready` holds,
    // a stop is asked or (WaitUntil) the time comes. True when `ready` holds.
    template <class Ready>
    bool Wait(Lock& lock, Ready ready) {
        changed_.wait(lock, [&] { return stopping_ || ready(); });
        return ready();
    }
    template <class Ready>
    bool WaitUntil(Lock& lock, Clock::time_point until, Ready ready) {
        changed_.wait_until(lock, until, [&] { return stopping_ || ready(); });
        return ready();
    }

  private:
    std::mutex& mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;  // under mutex_
    std::thread thread_;
};

}  // namespace trevanto

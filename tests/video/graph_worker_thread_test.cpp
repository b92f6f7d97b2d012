// The worker thread's stop: what the media tests do not reach, a stop
// asked while a round waits, and a thread never started.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "video/worker_thread.h"

namespace trevanto {
namespace {

TEST(WorkerThread, StopEndsARoundThatWaits) {
    const struct {
        const char* name;
        bool withDeadline;
    } rows[] = {{"waiting for its state", false}, {"waiting until a time", true}};
    for (const auto& row : rows) {
        std::mutex mutex;
        int rounds = 0;
        bool waiting = false;
        bool stopSeen = false;
        auto owned = std::make_unique<WorkerThread>(mutex);
        WorkerThread* const thread = owned.get();  // the round runs during the destructor
        thread->Start([&](WorkerThread::Lock& lock) {
            ++rounds;
            waiting = true;
            thread->Wake();
            const auto never = [] { return false; };
            if (row.withDeadline)
                thread->WaitUntil(lock, WorkerThread::Clock::now() + std::chrono::hours(1), never);
            else
                thread->Wait(lock, never);
            stopSeen = thread->Stopping();
        });
        {
            WorkerThread::Lock lock(mutex);
            thread->Wait(lock, [&] { return waiting; });
        }
        owned.reset();  // asks the stop and joins
        EXPECT_EQ(rounds, 1) << row.name;
        EXPECT_TRUE(stopSeen) << row.name;
    }
}

TEST(WorkerThread, ANeverStartedThreadIsDestroyed) {
    std::mutex mutex;
    WorkerThread thread(mutex);
    thread.RequestStop();
    const WorkerThread::Lock lock(mutex);
    EXPECT_TRUE(thread.Stopping());
}

}  // namespace
}  // namespace trevanto

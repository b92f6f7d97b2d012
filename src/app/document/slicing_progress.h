#pragma once
// What the status bar says of a slicing run: while it runs, how far it got,
// how fast it goes and how long it still needs; when it ends, how many shots
// it found in how much time. Times are given by the caller, so the texts
// depend on nothing else.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace trevanto {

class SlicingProgress {
  public:
    using Clock = std::chrono::steady_clock;

    // A run over the frames up to `lastFrame` begins with `shotCount` shots.
    void Begin(int32_t lastFrame, int32_t shotCount, Clock::time_point now);
    bool IsRunning() const { return running_; }
    // One processed frame. A new progress text at most a few times a second
    // (the first at once), nothing in between.
    std::optional<std::string> OnFrame(int32_t frame, Clock::time_point now);
    // "N shots found in T s".
    std::string End(int32_t shotCount, Clock::time_point now);

  private:
    std::string Text(int32_t frame, Clock::time_point now) const;

    bool running_ = false;
    int32_t firstFrame_ = -1;  // the run's first processed frame
    int32_t lastFrame_ = 0;
    int32_t startShots_ = 0;
    // Frames the run went through: those a sampler left out count, a seek
    // back counts one.
    int64_t framesCovered_ = 0;
    int32_t lastSeen_ = -1;
    Clock::time_point started_;
    std::optional<Clock::time_point> shown_;
};

}  // namespace trevanto

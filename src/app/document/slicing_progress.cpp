#include "app/document/slicing_progress.h"

#include <algorithm>

#include "common/text_format.h"

namespace trevanto {
namespace {

// The text changes at most this often: faster is unreadable and costs.
constexpr std::chrono::milliseconds kShowEvery{250};

double Seconds(SlicingProgress::Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

void SlicingProgress::Begin(int32_t lastFrame, int32_t shotCount, Clock::time_point now) {
    *this = SlicingProgress{};
    running_ = true;
    lastFrame_ = lastFrame;
    startShots_ = shotCount;
    started_ = now;
}

std::optional<std::string> SlicingProgress::OnFrame(int32_t frame, Clock::time_point now) {
    if (!running_)
        return std::nullopt;
    if (firstFrame_ < 0)
        firstFrame_ = frame;
    framesCovered_ += lastSeen_ >= 0 && frame > lastSeen_ ? frame - lastSeen_ : 1;
    lastSeen_ = frame;
    if (shown_ && now - *shown_ < kShowEvery)
        return std::nullopt;
    shown_ = now;
    return Text(frame, now);
}

std::string SlicingProgress::Text(int32_t frame, Clock::time_point now) const {
    // A seek back during the run may put the frame before its start.
    const int64_t total = std::max<int64_t>(1, int64_t{lastFrame_} - firstFrame_ + 1);
    const int64_t done = std::clamp<int64_t>(int64_t{frame} - firstFrame_ + 1, 0, total);
    const long percent = static_cast<long>(done * 100 / total);
    const double elapsed = Seconds(now - started_);
    if (framesCovered_ < 2 || elapsed <= 0.0)
        return FormatText("Slicing %ld %%", percent);
    const double fps = static_cast<double>(framesCovered_) / elapsed;
    const auto left = static_cast<long>(static_cast<double>(total - done) / fps + 0.5);
    std::string time;
    if (left < 60) {
        time = FormatText("%ld s", left);
    } else if (left < 3600) {
        time = FormatText("%ld:%02ld", left / 60, left % 60);
    } else {
        time = FormatText("%ld:%02ld:%02ld", left / 3600, left / 60 % 60, left % 60);
    }
    return FormatText("Slicing %ld %%, %.0f fps, %s left", percent, fps, time.c_str());
}

std::string SlicingProgress::End(int32_t shotCount, Clock::time_point now) {
    running_ = false;
    const long found = std::max<long>(0, static_cast<long>(shotCount) - startShots_);
    return FormatText("%ld %s found in %.1f s", found, found == 1 ? "shot" : "shots",
                      Seconds(now - started_));
}

}  // namespace trevanto

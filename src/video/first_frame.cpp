#include "video/first_frame.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "video/open_media_graph.h"
#include "video/player.h"

namespace trevanto {
namespace {

// Counts the frame count the player reports and whether it stopped early.
struct FirstFrameListener : PlayerListener {
    void OnNoVideo() override {}
    void CheckButton(PlayerButton, bool) override {}
    void OnVideoOpened(const std::string&, int32_t frames) override { frameCount = frames; }
    void OnPlaybackStopped() override { stopped = true; }
    void OnPlaybackEnd(int32_t) override { stopped = true; }

    int32_t frameCount = -1;
    bool stopped = false;
};

// The graph's streaming thread only rings; this thread drains the events.
class Doorbell {
  public:
    void Ring() {
        {
            std::lock_guard lock(mutex_);
            rung_ = true;
        }
        wake_.notify_all();
    }
    // False when the deadline passed or a stop was requested.
    bool Wait(std::stop_token& stop, std::chrono::steady_clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_until(lock, stop, deadline, [this] { return rung_; }))
            return false;
        rung_ = false;
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable_any wake_;
    bool rung_ = false;
};

}  // namespace

std::optional<FirstFrame> ReadFirstFrame(const std::string& path, std::stop_token stop,
                                         int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    FirstFrameListener listener;
    Doorbell doorbell;
    // Declared after the doorbell, so the graph (and its thread) goes first.
    Player player(OpenMediaGraph, listener);
    player.SetGraphNotify([&doorbell] { doorbell.Ring(); });
    if (stop.stop_requested() || !player.OpenVideo(path))
        return std::nullopt;
    while (!player.FrameSurface()) {
        if (listener.stopped || !player.IsOpen() || !doorbell.Wait(stop, deadline))
            return std::nullopt;
        player.HandleGraphEvents();
    }
    FirstFrame first;
    first.picture = player.FrameSurface()->ToImage();
    first.width = first.picture.width();
    first.height = first.picture.height();
    first.seconds = player.DurationSeconds();
    first.frameCount = listener.frameCount;
    player.CloseVideo();
    return first;
}

}  // namespace trevanto

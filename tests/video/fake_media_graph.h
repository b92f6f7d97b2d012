#pragma once
// A MediaGraph without thread or decoding: the test decides which frames
// arrive; a seek queues the sought frame at once, as the real graph promises.
#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "video/media_graph.h"

namespace trevanto::test {

class FakeMediaGraph : public MediaGraph {
  public:
    FakeMediaGraph(int frames, double secondsPerFrame, int width, int height)
        : frames_(frames), secondsPerFrame_(secondsPerFrame), width_(width), height_(height) {}

    bool Run() override { return !runFails && (state_ = GraphState::Running, true); }
    bool Pause() override { return (state_ = GraphState::Paused, true); }
    bool Stop() override { return (state_ = GraphState::Stopped, true); }
    GraphState GetState() const override { return state_; }
    bool GetCurrentPosition(double& seconds) const override { return (seconds = position_, true); }
    bool PutCurrentPosition(double seconds) override {
        ++seekCount;
        if (seekFails)
            return false;
        position_ = seconds;
        if (seekAnswer == SeekAnswer::Missed)
            DeliverEvent(GraphEventCode::SeekMissed);
        if (seekAnswer != SeekAnswer::Frame)
            return true;
        QueueRepaint(
            deliverOnSeek.value_or(static_cast<int>(std::lround(seconds / secondsPerFrame_))));
        return true;
    }
    double DurationSeconds() const override { return frames_ * secondsPerFrame_; }
    double Rate() const override { return rate_; }
    bool SetRate(double rate) override { return (rate_ = rate, true); }
    double AvgTimePerFrame() const override { return secondsPerFrame_; }
    bool VideoSize(int& width, int& height) const override {
        width = width_, height = height_;
        return true;
    }
    bool GetEvent(GraphEvent& event) override {
        if (events_.empty())
            return false;
        event = std::move(events_.front());
        events_.pop_front();
        return true;
    }
    void SetNotify(std::function<void()> notify) override { notify_ = std::move(notify); }
    void SetPaced(bool) override {}
    void SetDeliverEveryFrame(bool) override {}

    void DeliverFrame(int frame) {
        position_ = frame * secondsPerFrame_;
        QueueRepaint(frame);
    }
    void DeliverEvent(GraphEventCode code) { Queue(GraphEvent{code, nullptr, 0.0, nullptr}); }
    int PositionFrame() const {
        return static_cast<int>(std::lround(position_ / secondsPerFrame_));
    }

    std::function<void(Surface&, int frame)> painter;
    bool runFails = false, seekFails = false;
    // A graph that misses its seeks: this frame arrives whatever was sought.
    std::optional<int> deliverOnSeek;
    // What a seek brings: the frame, word that none decodes there, or nothing.
    enum class SeekAnswer { Frame, Missed, Nothing } seekAnswer = SeekAnswer::Frame;
    int seekCount = 0;

  private:
    void QueueRepaint(int frame) {
        auto surface = std::make_shared<Surface>(width_, height_);
        if (painter)
            painter(*surface, frame);
        Queue(GraphEvent{GraphEventCode::Repaint, std::move(surface), frame * secondsPerFrame_,
                         nullptr});
    }
    void Queue(GraphEvent event) {
        events_.push_back(std::move(event));
        if (notify_)
            notify_();
    }

    int frames_;
    double secondsPerFrame_;
    int width_, height_;
    GraphState state_ = GraphState::Stopped;
    double position_ = 0.0, rate_ = 1.0;
    std::deque<GraphEvent> events_;
    std::function<void()> notify_;
};

// A factory handing out one prepared fake graph; `opened` observes it.
struct FakeGraphSource {
    int frames = 250, width = 64, height = 48;
    double secondsPerFrame = 0.04;
    bool fail = false;
    std::function<void(FakeMediaGraph&)> prepare;
    FakeMediaGraph* opened = nullptr;
    int openCount = 0;

    MediaGraphFactory Factory() {
        return [this](const OpenRequest&, OpenError& error) -> std::unique_ptr<MediaGraph> {
            ++openCount;
            if (fail)
                return (error.cause = {MediaErrorCode::CannotOpen, {}}, nullptr);
            auto graph = std::make_unique<FakeMediaGraph>(frames, secondsPerFrame, width, height);
            if (prepare)
                prepare(*graph);
            opened = graph.get();
            return graph;
        };
    }
};

}  // namespace trevanto::test

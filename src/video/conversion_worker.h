#pragma once
// Converts one decoded picture at a time on a thread of its own, so that the
// streaming thread can decode the next frame meanwhile.
#include <mutex>

#include "video/frame_converter.h"
#include "video/worker_thread.h"

namespace trevanto {

class ConversionWorker {
  public:
    ConversionWorker();
    ConversionWorker(const ConversionWorker&) = delete;
    ConversionWorker& operator=(const ConversionWorker&) = delete;

    // Starts converting `picture` into `surface` and shrinking it onto
    // `thumbnail`, each when given, turned upright by `orientation`; all
    // stay untouched by the caller until Wait returns. One job at a time.
    void Start(const AVFrame& picture, Surface* surface, Surface* thumbnail = nullptr,
               Orientation orientation = {});
    // Waits for the job started last; true when it made what was asked (a
    // thumbnail alone: when it made that).
    bool Wait();
    // After Wait: whether the job's thumbnail was made.
    bool ThumbnailMade() const { return thumbnailMade_; }

  private:
    void Convert(WorkerThread::Lock& lock);

    FrameConverter converter_;
    std::mutex mutex_;
    const AVFrame* picture_ = nullptr;
    Surface* surface_ = nullptr;
    Surface* thumbnail_ = nullptr;
    Orientation orientation_;
    bool busy_ = false;
    bool converted_ = false;
    bool thumbnailMade_ = false;
    WorkerThread thread_{mutex_};
};

}  // namespace trevanto

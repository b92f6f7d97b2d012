#include "video/conversion_worker.h"

namespace trevanto {

ConversionWorker::ConversionWorker() : thread_([this] { Work(); }) {}

ConversionWorker::~ConversionWorker() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ConversionWorker::Start(const AVFrame& picture, Surface* surface, Surface* thumbnail,
                             Orientation orientation) {
    {
        const std::lock_guard lock(mutex_);
        picture_ = &picture;
        surface_ = surface;
        thumbnail_ = thumbnail;
        orientation_ = orientation;
        busy_ = true;
    }
    changed_.notify_all();
}

bool ConversionWorker::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return converted_;
}

void ConversionWorker::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || (busy_ && picture_); });
        if (quit_)
            return;
        const AVFrame& picture = *picture_;
        Surface* const surface = surface_;
        Surface* const thumbnail = thumbnail_;
        const Orientation orientation = orientation_;
        picture_ = nullptr;
        lock.unlock();
        const bool converted = !surface || converter_.Convert(picture, *surface, orientation);
        const bool thumbnailMade =
            converted && thumbnail && converter_.Shrink(picture, *thumbnail, orientation);
        lock.lock();
        converted_ = surface ? converted : thumbnailMade;
        thumbnailMade_ = thumbnailMade;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace trevanto

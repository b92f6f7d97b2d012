#include "video/conversion_worker.h"

namespace trevanto {

ConversionWorker::ConversionWorker() {
    thread_.Start([this](WorkerThread::Lock& lock) { Convert(lock); });
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
    thread_.Wake();
}

bool ConversionWorker::Wait() {
    std::unique_lock lock(mutex_);
    thread_.Wait(lock, [this] { return !busy_; });
    return converted_;
}

void ConversionWorker::Convert(WorkerThread::Lock& lock) {
    thread_.Wait(lock, [this] { return busy_ && picture_; });
    if (thread_.Stopping())
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
    thread_.Wake();
}

}  // namespace trevanto

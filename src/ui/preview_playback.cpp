#include "ui/preview_playback.h"

#include "picture/surface.h"
#include "video/player.h"

namespace trevanto {

PreviewPlayback::PreviewPlayback(MediaGraphFactory factory, std::function<void(const QImage&)> show,
                                 QObject* parent)
    : QObject(parent),
      show_(std::move(show)),
      player_(std::make_unique<Player>(std::move(factory), static_cast<PlayerListener&>(*this))) {
    player_->SetPaced(true);
    player_->SetSoundWanted(true);
    // The streaming thread only queues a call; events are handled here.
    player_->SetGraphNotify([this] {
        if (!drainQueued_.exchange(true))
            QMetaObject::invokeMethod(this, &PreviewPlayback::OnGraphNotify, Qt::QueuedConnection);
    });
}

PreviewPlayback::~PreviewPlayback() {
    Stop();
}

bool PreviewPlayback::Start(const std::string& path) {
    Stop();
    framesShown_ = 0;
    // An opened video starts playing at once.
    return player_->OpenVideo(path);
}

void PreviewPlayback::Stop() {
    if (player_->IsOpen())
        player_->CloseVideo();
}

bool PreviewPlayback::Playing() const {
    return player_->State() == PlayerState::Running;
}

void PreviewPlayback::OnGraphNotify() {
    drainQueued_.store(false);
    player_->HandleGraphEvents();
}

void PreviewPlayback::PresentFrame(bool /*beyondPlayRange*/) {
    const std::shared_ptr<const Surface>& frame = player_->FrameSurface();
    if (!frame)
        return;
    ++framesShown_;
    show_(frame->ToImage());
}

}  // namespace trevanto

#pragma once
// Plays a video in a preview with its sound, through the program's own
// player: the open dialog's preview of the selected clip. Frames are handed
// to `show` on the UI thread as pictures.
#include <QImage>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "video/media_graph.h"
#include "video/player_listener.h"

namespace trevanto {

class Player;

class PreviewPlayback : public QObject, private PlayerListener {
    Q_OBJECT
  public:
    PreviewPlayback(MediaGraphFactory factory, std::function<void(const QImage&)> show,
                    QObject* parent = nullptr);
    ~PreviewPlayback() override;

    // Opens the video and plays it; false when it does not open.
    bool Start(const std::string& path);
    // Stops and closes the video: no frame and no sound follow.
    void Stop();
    bool Playing() const;
    // Frames shown since the last Start.
    int32_t FramesShown() const { return framesShown_; }

  private:
    void OnGraphNotify();
    // PlayerListener
    void OnNoVideo() override {}
    void CheckButton(PlayerButton, bool) override {}
    void PresentFrame(bool beyondPlayRange) override;

    std::function<void(const QImage&)> show_;
    std::unique_ptr<Player> player_;
    std::atomic<bool> drainQueued_{false};
    int32_t framesShown_ = 0;
};

}  // namespace trevanto

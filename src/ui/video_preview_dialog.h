#pragma once
// "Open Video": previews the first frame of the selected video, with its
// size, length and frame count, then plays the video there with its sound
// until another file is selected or the dialog closes. The frame is read on
// a thread of its own, so that a large or slow file never holds up the file
// list.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "ui/preview_file_dialog.h"
#include "ui/preview_playback.h"
#include "video/first_frame.h"
#include "video/media_graph.h"

namespace trevanto {

class VideoPreviewDialog : public PreviewFileDialog {
    Q_OBJECT
  public:
    // The old kinds, then those of today's cameras, phones and downloads.
    static constexpr const char* kFilter =
        "Video Files (*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.mp4;*.m4v;*.mov;*.mkv;*.webm;*.ts;"
        "*.m2ts;*.mts;*.3gp;*.vob)|*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.mp4;*.m4v;*.mov;*.mkv;"
        "*.webm;*.ts;*.m2ts;*.mts;*.3gp;*.vob|"
        "All Files (*.*)|*.*||";
    // A file whose first frame does not come within this time is no video.
    static constexpr int kFrameTimeoutMs = 10000;

    // Null `factory`: the program's graph with sound.
    explicit VideoPreviewDialog(QWidget* parent = nullptr, MediaGraphFactory factory = {});
    // Waits for the readers still running (each stops at its next event).
    ~VideoPreviewDialog() override;

    const PreviewPlayback& Playback() const { return *playback_; }
    void done(int result) override;

  protected:
    PreviewState Preview(const QString& path) override;
    void CancelPreview() override;
    QString NoPreviewText() const override { return "Not a video"; }

  private:
    void OnFirstFrame(uint64_t generation, const std::string& path,
                      const std::optional<FirstFrame>& frame);

    // The preview whose result counts; older results are dropped.
    uint64_t generation_ = 0;
    struct Reader {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Reader> readers_;
    PreviewPlayback* playback_;  // a child
};

}  // namespace trevanto

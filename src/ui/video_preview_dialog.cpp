#include "ui/video_preview_dialog.h"

#include <QFileInfo>

#include "ui/preview_area.h"
#include "video/qt_audio_output.h"

namespace trevanto {
namespace {

// "320 x 240, 4.0 s" over "100 frames"; the length and count are left out
// when the video does not tell them.
QString FirstFrameInfo(const FirstFrame& frame) {
    QString info = QString("%1 x %2").arg(frame.width).arg(frame.height);
    if (frame.seconds > 0.0)
        info += QString(", %1 s").arg(frame.seconds, 0, 'f', 1);
    if (frame.frameCount >= 0)
        info += QString("\n%1 frames").arg(frame.frameCount);
    return info;
}

}  // namespace

VideoPreviewDialog::VideoPreviewDialog(QWidget* parent, MediaGraphFactory factory)
    : PreviewFileDialog(parent, "Open Video", kFilter),
      playback_(new PreviewPlayback(
          factory ? std::move(factory) : MediaGraphFactory(OpenMediaGraphWithSound),
          [this](const QImage& frame) { DrawingArea().ShowPicture(frame); }, this)) {}

VideoPreviewDialog::~VideoPreviewDialog() {
    CancelPreview();
    readers_.clear();
}

void VideoPreviewDialog::done(int result) {
    playback_->Stop();  // neither picture nor sound outlives the dialog
    PreviewFileDialog::done(result);
}

PreviewFileDialog::PreviewState VideoPreviewDialog::Preview(const QString& path) {
    DrawingArea().Clear();
    SetInfo(QFileInfo(path).fileName());
    // Finished readers are let go before another starts.
    std::erase_if(readers_, [](const Reader& reader) { return reader.done->load(); });
    const uint64_t generation = ++generation_;
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread([this, generation, done, file = path.toStdString()](std::stop_token stop) {
        std::optional<FirstFrame> frame = ReadFirstFrame(file, stop, kFrameTimeoutMs);
        // The dialog waits for its readers before it goes, so it is there
        // while the call is queued; Qt drops the call if it goes before.
        if (!stop.stop_requested()) {
            QMetaObject::invokeMethod(
                this,
                [this, generation, file, frame = std::move(frame)] {
                    OnFirstFrame(generation, file, frame);
                },
                Qt::QueuedConnection);
        }
        done->store(true);
    });
    readers_.push_back({std::move(thread), std::move(done)});
    return PreviewState::Pending;
}

void VideoPreviewDialog::CancelPreview() {
    playback_->Stop();
    ++generation_;
    for (Reader& reader : readers_)
        reader.thread.request_stop();
}

void VideoPreviewDialog::OnFirstFrame(uint64_t generation, const std::string& path,
                                      const std::optional<FirstFrame>& frame) {
    if (generation != generation_)
        return;
    if (frame) {
        DrawingArea().ShowPicture(frame->picture);
        SetInfo(FirstFrameInfo(*frame));
    }
    // The clip plays in the preview (one that does not open keeps its first
    // frame), unless completing the preview accepts the dialog, which stops it.
    if (frame)
        playback_->Start(path);
    CompletePreview(frame.has_value());
}

}  // namespace trevanto

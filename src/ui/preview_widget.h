#pragma once
// The preview window of the video preview bar: each presented frame is
// scaled to fit it at the picture's display aspect, the rest black; with no
// video open it shows the window colour.
#include <QFrame>

#include <memory>

namespace trevanto {

class Surface;

class PreviewWidget : public QFrame {
    Q_OBJECT
  public:
    explicit PreviewWidget(QWidget* parent = nullptr);

    // Null clears the preview to the window colour. False when the preview
    // has no area to show the frame on.
    bool Present(std::shared_ptr<const Surface> frame);
    bool HasFrame() const { return frame_ != nullptr; }
    const std::shared_ptr<const Surface>& Frame() const { return frame_; }

  signals:
    // A double click, or (on the whole screen) F11 or Escape: the video goes
    // to the whole screen or back.
    void FullScreenToggleRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::shared_ptr<const Surface> frame_;
};

}  // namespace trevanto

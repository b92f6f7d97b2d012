#pragma once
// The contents of the "Video preview" bar: the preview window, the navigation
// slider, the "Frame" label and the position label, laid out in proportion to
// the bar's size.
#include <QWidget>

class QLabel;
namespace trevanto {

class CMySliderCtrl;
class PreviewWidget;

class VideoPreviewPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSliderRange = 32767;

    explicit VideoPreviewPanel(QWidget* parent = nullptr);

    PreviewWidget* Preview() const { return preview_; }
    CMySliderCtrl* Slider() const { return slider_; }
    QLabel* FrameLabel() const { return frameLabel_; }
    QLabel* PositionLabel() const { return positionLabel_; }

    // The length of the open video, for the time labels under the slider;
    // 0 shows none.
    void SetDuration(double seconds);
    QWidget* TimeAxis() const { return timeAxis_; }
    // The preview alone on the whole screen; back in the panel when off.
    void SetPreviewFullScreen(bool on);
    bool PreviewFullScreen() const;

    QSize sizeHint() const override { return {260, 320}; }
    // The bar's own minimum rules.
    QSize minimumSizeHint() const override { return {0, 0}; }

  signals:
    void FullScreenToggled();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayOut();

    PreviewWidget* preview_;
    CMySliderCtrl* slider_;
    QLabel* frameLabel_;
    QLabel* positionLabel_;
    QWidget* timeAxis_;
};

}  // namespace trevanto

#pragma once
// The navigation slider under the video. It paints itself: a 3D channel, the
// play range's red bracket marks and a round thumb with shaded rings. While
// the left button is held a 40 ms timer seeks to the thumb, so the video
// follows the drag. Its keys ask for steps (StepRequested) on release, not on
// press: what a step is (a frame, a second) is its owner's to say, since
// one slider position may cover several frames or none.
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace trevanto {

// The slider's geometry for a client width w and a range of r positions
// (maximum + 1 - minimum).
namespace slider_geometry {
// The x of a mark at slider position `mark`.
int MarkX(int width, int mark, int rangeCount);
// The left edge of the 20-pixel thumb; it stays between 0 and width - 20.
int ThumbLeft(int width, int position, int rangeCount);
// The position under the mouse at x, clamped to 0..maximum.
int PositionAt(int x, int width, int maximum);
}  // namespace slider_geometry

class CMySliderCtrl : public QWidget {
    Q_OBJECT
  public:
    // The scroll codes of the slider's notifications.
    enum ScrollCode {
        kThumbPosition = 4,
        kThumbTrack = 5,
        kEndScroll = 8,
    };
    static constexpr int kDragTimerMs = 40;
    // What a key asks for.
    enum class Step { LineBack, LineForward, PageBack, PageForward, First, Last };

    explicit CMySliderCtrl(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // A position from outside: ignored while the user drags, so playback
    // cannot fight the drag; clamped to the range.
    void SetPos(int position);
    int GetPos() const { return position_; }
    // -1 removes a mark.
    void SetStartMark(int position);
    void SetEndMark(int position);
    int StartMark() const { return startMark_; }
    int EndMark() const { return endMark_; }
    bool IsDragging() const { return dragging_; }
    bool DragTimerActive() const { return dragTimer_.isActive(); }

    // The whole control as painted, the size of the client area.
    QImage Render() const;

    QSize sizeHint() const override { return {200, 30}; }
    QSize minimumSizeHint() const override { return {24, 22}; }

  public slots:
    // One tick of the drag timer: the video follows the thumb.
    void OnDragTimer();

  signals:
    // Every seek the slider asks for: position, range, force.
    void SeekFromSlider(int position, int range, bool force);
    // A key was released: Left/Up, Right/Down, Page Up/Down, Home, End.
    void StepRequested(CMySliderCtrl::Step step);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void SetPosFromMouse(int x);
    // Queues a notification; it is handled after the current event, as a
    // posted message would be.
    void Post(int code);
    void HandleScroll(int code, int position);

    bool dragging_ = false;
    bool changed_ = false;
    int position_ = 0;
    QTimer dragTimer_;
    int startMark_ = -1;
    int endMark_ = -1;
    int minimum_ = 0;
    int maximum_ = 100;
    int lastHandled_ = -1;
};

}  // namespace trevanto

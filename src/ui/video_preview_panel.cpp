#include "ui/video_preview_panel.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "common/time_marks.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/preview_widget.h"

namespace trevanto {
namespace {

// Labels closer than this many pixels would run into each other.
constexpr int kLabelSpacing = 56;

// The times of the slider's positions under it, each label centred where the
// slider's thumb stands for that time.
class SliderTimeAxis : public QWidget {
  public:
    explicit SliderTimeAxis(QWidget* parent) : QWidget(parent) { setObjectName("timeAxis"); }
    void SetDuration(double seconds) {
        if (seconds == duration_)
            return;
        duration_ = seconds;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const double step = TimeMarkStep(duration_, width(), kLabelSpacing);
        if (step <= 0.0)
            return;
        QPainter painter(this);
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        painter.setFont(small);
        painter.setPen(palette().color(QPalette::PlaceholderText));
        const int range = VideoPreviewPanel::kSliderRange + 1;
        for (double t = 0.0; t <= duration_; t += step) {
            const int position = static_cast<int>(std::lround(t / duration_ * (range - 1)));
            const int x = slider_geometry::ThumbLeft(width(), position, range) + 10;
            const QString text = QString::fromStdString(TimeMarkText(t));
            const int half = painter.fontMetrics().horizontalAdvance(text) / 2;
            painter.drawText(std::clamp(x - half, 0, std::max(0, width() - 2 * half)), 0,
                             2 * half + 2, height(), Qt::AlignLeft | Qt::AlignTop, text);
        }
    }

  private:
    double duration_ = 0.0;
};

}  // namespace

VideoPreviewPanel::VideoPreviewPanel(QWidget* parent)
    : QWidget(parent),
      preview_(new PreviewWidget(this)),
      slider_(new CMySliderCtrl(this)),
      frameLabel_(new QLabel("Frame", this)),
      positionLabel_(new QLabel(this)),
      timeAxis_(new SliderTimeAxis(this)) {
    setObjectName("videoPreviewPanel");
    slider_->setObjectName("navigationSlider");
    slider_->SetRange(0, kSliderRange);
    frameLabel_->setObjectName("frameLabel");
    positionLabel_->setObjectName("positionLabel");
    positionLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    connect(preview_, &PreviewWidget::FullScreenToggleRequested, this,
            [this] { SetPreviewFullScreen(!PreviewFullScreen()); });
}

void VideoPreviewPanel::SetDuration(double seconds) {
    static_cast<SliderTimeAxis*>(timeAxis_)->SetDuration(seconds);
}

bool VideoPreviewPanel::PreviewFullScreen() const {
    return preview_->isWindow();
}

void VideoPreviewPanel::SetPreviewFullScreen(bool on) {
    if (on == PreviewFullScreen())
        return;
    if (on) {
        // A window of its own, over the screen the program is on.
        preview_->setParent(window(), Qt::Window | Qt::FramelessWindowHint);
        preview_->setFocusPolicy(Qt::StrongFocus);
        // The screen's size first: without a window manager to make it full
        // screen it still covers the screen.
        if (const QScreen* screen = window()->screen())
            preview_->setGeometry(screen->geometry());
        preview_->showFullScreen();
        preview_->activateWindow();
        preview_->setFocus();
    } else {
        preview_->setParent(this, Qt::Widget);
        preview_->setFocusPolicy(Qt::NoFocus);
        LayOut();
        preview_->show();
        window()->activateWindow();
    }
    emit FullScreenToggled();
}

void VideoPreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void VideoPreviewPanel::LayOut() {
    const int w = width();
    const int h = height();
    if (!preview_->isWindow())
        preview_->setGeometry(10, 0, std::max(0, w - 20), h * 70 / 100);
    slider_->setGeometry(10, h * 75 / 100, std::max(0, w - 20), 30);
    const int labelHeight = std::max(15, fontMetrics().height() + 2);
    // The times between the slider and the labels, where there is room.
    const int axisTop = h * 75 / 100 + 30;
    timeAxis_->setGeometry(10, axisTop, std::max(0, w - 20),
                           std::max(0, std::min(labelHeight, h * 92 / 100 - axisTop)));
    frameLabel_->setGeometry(10, h * 92 / 100, 50, labelHeight);
    positionLabel_->setGeometry(60, h * 92 / 100, std::max(0, w - 70), labelHeight);
}

}  // namespace trevanto

#include "ui/video_preview_panel.h"

#include <QLabel>
#include <QResizeEvent>

#include "ui/controls/my_slider_ctrl.h"
#include "ui/preview_widget.h"

namespace trevanto {

VideoPreviewPanel::VideoPreviewPanel(QWidget* parent)
    : QWidget(parent),
      preview_(new PreviewWidget(this)),
      slider_(new CMySliderCtrl(this)),
      frameLabel_(new QLabel("Frame", this)),
      positionLabel_(new QLabel(this)) {
    setObjectName("videoPreviewPanel");
    slider_->setObjectName("navigationSlider");
    slider_->SetRange(0, kSliderRange);
    frameLabel_->setObjectName("frameLabel");
    positionLabel_->setObjectName("positionLabel");
    positionLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void VideoPreviewPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    preview_->setGeometry(10, 0, std::max(0, w - 20), h * 70 / 100);
    slider_->setGeometry(10, h * 75 / 100, std::max(0, w - 20), 30);
    const int labelHeight = std::max(15, fontMetrics().height() + 2);
    frameLabel_->setGeometry(10, h * 92 / 100, 50, labelHeight);
    positionLabel_->setGeometry(60, h * 92 / 100, std::max(0, w - 70), labelHeight);
}

}  // namespace trevanto

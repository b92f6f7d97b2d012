#include "ui/preview_widget.h"

#include <QImage>
#include <QPainter>

#include "video/surface.h"

namespace trevanto {

PreviewWidget::PreviewWidget(QWidget* parent) : QFrame(parent) {
    setObjectName("previewWindow");
    // A black frame around the picture, as the preview has always had.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool PreviewWidget::Present(std::shared_ptr<const Surface> frame) {
    frame_ = std::move(frame);
    update();
    return frame_ == nullptr || !contentsRect().isEmpty();
}

void PreviewWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    if (frame_ && frame_->IsValid()) {
        // The frame is shown without a copy when it holds 32-bit RGB pixels.
        const QImage picture = frame_->Format().IsRgb32()
                                   ? QImage(frame_->Bits(), frame_->Width(), frame_->Height(),
                                            frame_->Pitch(), QImage::Format_RGB32)
                                   : frame_->ToImage();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, picture);
    } else {
        painter.fillRect(area, palette().color(QPalette::Base));
    }
    painter.end();
    QFrame::paintEvent(event);
}

}  // namespace trevanto

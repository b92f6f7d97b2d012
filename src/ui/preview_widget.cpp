#include "ui/preview_widget.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

#include "picture/surface.h"

namespace trevanto {
namespace {

// The largest rectangle of the picture's display aspect (its pixels' aspect
// included) centred in `area`.
QRect PictureArea(const QRect& area, const Surface& frame) {
    const double pictureWidth = frame.Width() * frame.PixelAspect();
    const double scale =
        std::min(area.width() / pictureWidth, area.height() / static_cast<double>(frame.Height()));
    const int width =
        std::clamp(static_cast<int>(std::lround(pictureWidth * scale)), 1, area.width());
    const int height =
        std::clamp(static_cast<int>(std::lround(frame.Height() * scale)), 1, area.height());
    return QRect(area.left() + (area.width() - width) / 2,
                 area.top() + (area.height() - height) / 2, width, height);
}

}  // namespace

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
        const QRect shown = PictureArea(area, *frame_);
        // Black bars around the picture, as players show it.
        const QRegion bars = QRegion(area).subtracted(shown);
        for (const QRect& bar : bars)
            painter.fillRect(bar, Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(shown, picture);
    } else {
        painter.fillRect(area, palette().color(QPalette::Base));
    }
    painter.end();
    QFrame::paintEvent(event);
}

void PreviewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit FullScreenToggleRequested();
}

void PreviewWidget::keyPressEvent(QKeyEvent* event) {
    // Only a window of its own (the whole screen) gets keys here.
    if (isWindow() && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11)) {
        event->accept();
        emit FullScreenToggleRequested();
        return;
    }
    QFrame::keyPressEvent(event);
}

}  // namespace trevanto

#include "ui/preview_area.h"

#include <QPainter>

namespace trevanto {

QSize FitPicture(QSize picture, QSize area) {
    const int64_t w = picture.width();
    const int64_t h = picture.height();
    if (w <= 0 || h <= 0 || (w <= area.width() && h <= area.height()))
        return picture;
    if (int64_t{area.height()} * w <= int64_t{area.width()} * h)
        return {static_cast<int>(area.height() * w / h), area.height()};
    return {area.width(), static_cast<int>(area.width() * h / w)};
}

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    setAccessibleName("Preview");
    Clear();
}

void PreviewArea::Clear() {
    // Device pixels, so that a scaled screen shows the picture sharp.
    const qreal ratio = devicePixelRatioF();
    if (canvas_.isNull() || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QImage(QSize(kWidth, kHeight) * ratio, QImage::Format_RGB32);
        canvas_.setDevicePixelRatio(ratio);
    }
    canvas_.fill(palette().color(QPalette::Dark));
    update();
}

void PreviewArea::ShowPicture(const QImage& picture) {
    Clear();
    const QSize size = FitPicture(picture.size(), QSize(kWidth, kHeight));
    const QRect target((kWidth - size.width()) / 2, (kHeight - size.height()) / 2, size.width(),
                       size.height());
    // Smooth scaling stands for halftone stretching.
    QPainter painter(&canvas_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
}

void PreviewArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), canvas_);
}

}  // namespace trevanto

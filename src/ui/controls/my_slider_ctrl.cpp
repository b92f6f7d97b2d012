#include "ui/controls/my_slider_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace trevanto {

namespace slider_geometry {

int MarkX(int width, int mark, int rangeCount) {
    if (rangeCount <= 0)
        return 0;
    return static_cast<int>(int64_t{width} * mark / rangeCount);
}

int ThumbLeft(int width, int position, int rangeCount) {
    if (width <= 0)
        return 0;
    const int x0 = MarkX(width, position, rangeCount);
    return static_cast<int>(int64_t{width - 20} * x0 / width);
}

int PositionAt(int x, int width, int maximum) {
    if (width <= 0)
        return 0;
    return std::clamp(static_cast<int>(int64_t{x} * maximum / width), 0, maximum);
}

}  // namespace slider_geometry

namespace {

constexpr int kThumbWidth = 20;

// The ring's colour at angle a: the lit colour up and to the left, blending
// into the far colour on the opposite side.
QRgb RingColour(QRgb lit, QRgb far, double a) {
    double d = -2.356 - a;
    if (d < -3.1415)
        d += 6.293;
    if (d > 3.1415)
        d = 6.293 - d;
    const double w = (std::cos(d) + 1.0) * 0.5;
    const auto mix = [w](int l, int f) { return static_cast<int>(l * w + f * (1.0 - w)); };
    return qRgb(mix(qRed(lit), qRed(far)), mix(qGreen(lit), qGreen(far)),
                mix(qBlue(lit), qBlue(far)));
}

void Plot(QImage& image, int x, int y, QRgb colour) {
    if (image.valid(x, y))
        image.setPixel(x, y, colour);
}

// A circle of radius r around (cx, cy) by the midpoint method with eight-way
// symmetry, each pixel shaded by its angle. Dotted: every other step only,
// in the lit colour.
void DrawRing(QImage& image, int cx, int cy, int r, QRgb lit, QRgb far, bool dotted) {
    int x = r;
    int y = 0;
    int err = 1 - r;
    for (int step = 0; x >= y; ++step) {
        if (!dotted || step % 2 == 0) {
            const int offsets[8][2] = {{x, y},   {y, x},   {-y, x}, {-x, y},
                                       {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (const auto& [dx, dy] : offsets) {
                const QRgb colour = dotted ? lit : RingColour(lit, far, std::atan2(dy, dx));
                Plot(image, cx + dx, cy + dy, colour);
            }
        }
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void FillRow(QImage& image, int x, int y, int width, QRgb colour) {
    for (int i = 0; i < width; ++i)
        Plot(image, x + i, y, colour);
}

void FillColumn(QImage& image, int x, int y, int height, QRgb colour) {
    for (int i = 0; i < height; ++i)
        Plot(image, x, y + i, colour);
}

// A one-pixel 3D frame: `topLeft` on the top and left edges, `bottomRight`
// on the others.
void Draw3dRect(QImage& image, const QRect& rect, QRgb topLeft, QRgb bottomRight) {
    FillRow(image, rect.x(), rect.y(), rect.width() - 1, topLeft);
    FillColumn(image, rect.x(), rect.y(), rect.height() - 1, topLeft);
    FillColumn(image, rect.x() + rect.width() - 1, rect.y(), rect.height(), bottomRight);
    FillRow(image, rect.x(), rect.y() + rect.height() - 1, rect.width(), bottomRight);
}

}  // namespace

CMySliderCtrl::CMySliderCtrl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Painting covers the whole control; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    dragTimer_.setInterval(kDragTimerMs);
    connect(&dragTimer_, &QTimer::timeout, this, &CMySliderCtrl::OnDragTimer);
}

void CMySliderCtrl::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
    update();
}

void CMySliderCtrl::SetPos(int position) {
    if (dragging_)
        return;
    position_ = std::clamp(position, minimum_, maximum_);
    update();
}

void CMySliderCtrl::SetStartMark(int position) {
    startMark_ = position;
    update();
}

void CMySliderCtrl::SetEndMark(int position) {
    endMark_ = position;
    update();
}

QImage CMySliderCtrl::Render() const {
    using namespace slider_geometry;
    const int w = width();
    const int h = height();
    // Drawn off screen in one piece, then copied: the thumb never flickers
    // over the channel and the rings can be set pixel by pixel.
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    const QPalette& colours = palette();
    image.fill(colours.color(QPalette::Button));
    const int rangeCount = maximum_ + 1 - minimum_;
    const int cy = h / 2;
    Draw3dRect(image, QRect(QPoint(2, cy - 2), QPoint(w - 3, cy + 1)), qRgb(0, 0, 0),
               qRgb(128, 128, 128));
    {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::red, 1));
        if (startMark_ != -1) {
            const int x = MarkX(w, startMark_, rangeCount);
            const QPoint bracket[] = {{x + 3, cy - 5}, {x, cy - 5}, {x, cy + 5}, {x + 3, cy + 5}};
            painter.drawPolyline(bracket, 4);
        }
        if (endMark_ != -1) {
            const int x = MarkX(w, endMark_, rangeCount);
            const QPoint bracket[] = {{x - 3, cy - 5}, {x, cy - 5}, {x, cy + 5}, {x - 3, cy + 5}};
            painter.drawPolyline(bracket, 4);
        }
        const int left = ThumbLeft(w, position_, rangeCount);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(left + 1, cy - 9, kThumbWidth - 1, 19));
    }
    const int cx = ThumbLeft(w, position_, rangeCount) + kThumbWidth / 2;
    const QRgb highlight = colours.color(QPalette::Light).rgb();
    const QRgb darkShadow = colours.color(QPalette::Shadow).rgb();
    const QRgb light = colours.color(QPalette::Midlight).rgb();
    const QRgb shadow = colours.color(QPalette::Dark).rgb();
    // Raised while at rest, pressed while dragged.
    if (dragging_) {
        DrawRing(image, cx, cy, 9, darkShadow, highlight, false);
        DrawRing(image, cx, cy, 8, shadow, light, false);
    } else {
        DrawRing(image, cx, cy, 9, highlight, darkShadow, false);
        DrawRing(image, cx, cy, 8, light, shadow, false);
    }
    if (hasFocus())
        DrawRing(image, cx, cy, 6, qRgb(0, 0, 0), qRgb(0, 0, 0), true);
    return image;
}

void CMySliderCtrl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

void CMySliderCtrl::SetPosFromMouse(int x) {
    position_ = std::clamp(slider_geometry::PositionAt(x, width(), maximum_), minimum_, maximum_);
}

void CMySliderCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The press grabs the mouse until the release (Qt's implicit grab).
    dragging_ = true;
    changed_ = false;
    setFocus(Qt::MouseFocusReason);
    SetPosFromMouse(event->position().toPoint().x());
    changed_ = true;
    Post(kThumbTrack);
    dragTimer_.start();
    update();
}

void CMySliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    SetPosFromMouse(event->position().toPoint().x());
    changed_ = true;
    Post(kThumbTrack);
    update();
}

void CMySliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragTimer_.stop();
    if (dragging_) {
        dragging_ = false;
        SetPosFromMouse(event->position().toPoint().x());
        Post(kThumbTrack);
        Post(kThumbPosition);
        changed_ = false;
    }
    Post(kEndScroll);
    update();
}

void CMySliderCtrl::OnDragTimer() {
    emit SeekFromSlider(position_, maximum_, false);
}

void CMySliderCtrl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            // Acted on when released.
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CMySliderCtrl::keyReleaseEvent(QKeyEvent* event) {
    Step step = Step::LineBack;
    switch (event->key()) {
        case Qt::Key_PageUp:
            step = Step::PageBack;
            break;
        case Qt::Key_PageDown:
            step = Step::PageForward;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            step = Step::LineBack;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = Step::LineForward;
            break;
        case Qt::Key_Home:
            step = Step::First;
            break;
        case Qt::Key_End:
            step = Step::Last;
            break;
        default:
            QWidget::keyReleaseEvent(event);
            return;
    }
    event->accept();
    // A held key repeats its releases; only the real release counts. The
    // thumb moves when the frame asked for is shown, as it does in playback.
    if (!event->isAutoRepeat())
        emit StepRequested(step);
}

void CMySliderCtrl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CMySliderCtrl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // A window that takes the input away (a message box, another program)
    // keeps the release from us: the drag ends here, or playback could
    // never move the thumb again.
    if (dragging_) {
        dragTimer_.stop();
        dragging_ = false;
        changed_ = false;
        Post(kThumbPosition);
        Post(kEndScroll);
    }
    update();
}

void CMySliderCtrl::Post(int code) {
    QMetaObject::invokeMethod(
        this, [this, code, position = position_] { HandleScroll(code, position); },
        Qt::QueuedConnection);
}

void CMySliderCtrl::HandleScroll(int code, int position) {
    switch (code) {
        case kThumbPosition:
            emit SeekFromSlider(position, maximum_, false);
            break;
        case kThumbTrack:
            if (position != lastHandled_)
                emit SeekFromSlider(position, maximum_, false);
            break;
        case kEndScroll:
            emit SeekFromSlider(position, maximum_, true);
            break;
        default:
            break;
    }
    lastHandled_ = position;
}

}  // namespace trevanto

#include "ui/controls/sizing_control_bar.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include <algorithm>

namespace trevanto {

BarSizes ClampToMinimum(const BarSizes& sizes) {
    return {sizes.horz.expandedTo(CSizingControlBar::kMinHorzSize),
            sizes.vert.expandedTo(CSizingControlBar::kMinVertSize),
            sizes.floating.expandedTo(CSizingControlBar::kMinFloatSize)};
}

namespace {

// The frame's sizing edges between its docked bars and its middle.
class SizingEdgeStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_DockWidgetSeparatorExtent)
            return CSizingControlBar::kEdgeWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// A 3D rectangle one pixel wide: `topLeft` above and left, `bottomRight`
// below and right.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft,
                const QColor& bottomRight) {
    painter.fillRect(rect.x(), rect.y(), rect.width() - 1, 1, topLeft);
    painter.fillRect(rect.x(), rect.y(), 1, rect.height() - 1, topLeft);
    painter.fillRect(rect.right(), rect.y(), 1, rect.height(), bottomRight);
    painter.fillRect(rect.x(), rect.bottom(), rect.width(), 1, bottomRight);
}

// The gripper along the top of a bar: two grooves and the close button at
// the right, where the caption would be.
class Gripper : public QWidget {
  public:
    explicit Gripper(QDockWidget* bar) : QWidget(bar), bar_(bar) {
        setObjectName("gripper");
        setMouseTracking(false);
    }
    QSize sizeHint() const override { return {40, CSizingControlBarG::kGripperHeight + 1}; }
    // The close button, and no more: the bar's own minimum rules.
    QSize minimumSizeHint() const override { return {14, CSizingControlBarG::kGripperHeight + 1}; }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QPalette& colours = palette();
        const QColor highlight = colours.color(QPalette::Light);
        const QColor shadow = colours.color(QPalette::Dark);
        const QRect close = CloseRect();
        // Two grooves, 3 pixels thick and 3 apart, up to the close button.
        const int grooveWidth = std::max(0, close.left() - 4);
        for (const int y : {2, 8})
            Draw3dRect(painter, QRect(2, y, grooveWidth, 3), highlight, shadow);
        if (pushed_)
            Draw3dRect(painter, close, shadow, highlight);
        else
            Draw3dRect(painter, close, highlight, shadow);
        painter.setPen(colours.color(QPalette::ButtonText));
        const QPoint glyph = close.topLeft() + QPoint(2, 2);
        if (QFontDatabase::hasFamily("Marlett")) {
            QFont symbols("Marlett");
            symbols.setPointSizeF(6.0);  // points follow the screen's dpi
            painter.setFont(symbols);
            painter.drawText(QRect(glyph, QSize(9, 9)), Qt::AlignLeft | Qt::AlignTop, "r");
        } else {
            // The same small cross where the symbol font is missing.
            painter.drawLine(glyph + QPoint(1, 1), glyph + QPoint(6, 6));
            painter.drawLine(glyph + QPoint(6, 1), glyph + QPoint(1, 6));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton &&
            CloseRect().contains(event->position().toPoint())) {
            pushed_ = true;
            update();
            return;
        }
        // Elsewhere the bar itself drags or floats.
        event->ignore();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!pushed_) {
            event->ignore();
            return;
        }
        pushed_ = false;
        update();
        if (CloseRect().contains(event->position().toPoint()))
            bar_->hide();
    }

  private:
    // 11 x 11, 12 pixels left of the right edge.
    QRect CloseRect() const { return {width() - 12, 0, 11, 11}; }

    QDockWidget* bar_;
    bool pushed_ = false;
};

}  // namespace

CSizingControlBar::CSizingControlBar(const QString& title, QMainWindow* frame, int id)
    : QDockWidget(title, frame), frame_(frame), id_(id) {
    // The style only sizes the frame's edges; the frame's children keep theirs.
    // One for the process, owned by the application so that it outlives
    // every frame that uses it.
    static QPointer<SizingEdgeStyle> edges;
    if (edges.isNull()) {
        edges = new SizingEdgeStyle;
        edges->setParent(QCoreApplication::instance());
    }
    frame->setStyle(edges);
    connect(this, &QDockWidget::topLevelChanged, this, [this] { FollowPlace(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { FollowPlace(); });
    FollowPlace();
}

void CSizingControlBar::FollowPlace() {
    if (isFloating()) {
        setMinimumSize(kMinFloatSize);
        return;
    }
    const Qt::DockWidgetArea area = frame_->dockWidgetArea(this);
    setMinimumSize(area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea
                       ? kMinHorzSize
                       : kMinVertSize);
}

void CSizingControlBar::SetSizes(const BarSizes& sizes) {
    sizes_ = ClampToMinimum(sizes);
    if (isFloating()) {
        resize(sizes_.floating);
        return;
    }
    const Qt::DockWidgetArea area = frame_->dockWidgetArea(this);
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        frame_->resizeDocks({this}, {sizes_.horz.height()}, Qt::Vertical);
    else if (area != Qt::NoDockWidgetArea)
        frame_->resizeDocks({this}, {sizes_.vert.width()}, Qt::Horizontal);
}

void CSizingControlBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    // A hidden bar is only being laid out; its sizes stay as they were.
    if (!isVisible())
        return;
    if (isFloating()) {
        sizes_.floating = size();
        return;
    }
    const Qt::DockWidgetArea area = frame_->dockWidgetArea(this);
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        sizes_.horz = size();
    else if (area != Qt::NoDockWidgetArea)
        sizes_.vert = size();
}

CSizingControlBarG::CSizingControlBarG(const QString& title, QMainWindow* frame, int id)
    : CSizingControlBar(title, frame, id) {
    setTitleBarWidget(new Gripper(this));
}

}  // namespace trevanto

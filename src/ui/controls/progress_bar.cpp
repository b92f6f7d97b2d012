#include "ui/controls/progress_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>

namespace trevanto {

CProgressBar::CProgressBar(QStatusBar* statusBar, const QString& caption, int sizePercent,
                           int maximum, bool smooth)
    : statusBar_(statusBar), sizePercent_(sizePercent), caption_(caption) {
    if (statusBar == nullptr)
        return;
    auto* control = new QProgressBar(statusBar);  // owned by the status bar
    control->setObjectName("statusProgress");
    control->setRange(0, maximum);
    control->setValue(0);
    control->setTextVisible(false);
    // The platform's smooth style has no Qt counterpart beyond a plain bar;
    // the blocky one is approximated by a chunked style sheet.
    if (!smooth) {
        control->setStyleSheet(
            "QProgressBar { border: 1px solid palette(mid); background: palette(base); }"
            "QProgressBar::chunk { background: palette(highlight); width: 8px; margin: 1px; }");
    }
    control->show();
    control_ = control;
    created_ = true;
    statusBar->installEventFilter(this);
    Place();
}

CProgressBar::~CProgressBar() {
    if (statusBar_) {
        statusBar_->removeEventFilter(this);
        statusBar_->clearMessage();
    }
    if (control_) {
        control_->hide();
        control_->deleteLater();
    }
}

void CProgressBar::SetPos(int position) {
    if (!control_)
        return;
    control_->show();
    control_->setValue(position);
}

int CProgressBar::Pos() const {
    return control_ ? control_->value() : 0;
}

int CProgressBar::PaneRight() const {
    int right = statusBar_->width();
    // Permanent panes stand right of pane 0; the leftmost visible one ends it.
    for (QWidget* child : statusBar_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child == control_ || !child->isVisible())
            continue;
        if (child->property("statusPane").toInt() > 0)
            right = std::min(right, child->x());
    }
    return right;
}

void CProgressBar::Place() {
    if (!statusBar_ || !control_)
        return;
    if (statusBar_->currentMessage() != caption_) {
        statusBar_->showMessage(caption_);
        if (control_->isVisible())
            statusBar_->repaint();
    }
    const QFontMetrics metrics(statusBar_->font());
    const int captionWidth = metrics.horizontalAdvance(caption_);
    const int spaceWidth = metrics.horizontalAdvance(QLatin1Char(' '));
    const int left = captionWidth + 4 * spaceWidth;
    const int paneRight = PaneRight();
    const int right = std::max(left, left + (paneRight - left) * sizePercent_ / 100);
    const int height = statusBar_->height();
    const int top = height / 10;
    const int bottom = height - height / 10;
    const QRect placement(left, top, right - left, bottom - top);
    if (placement == placement_)
        return;
    placement_ = placement;
    control_->setGeometry(placement);
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar_) {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::LayoutRequest:
            case QEvent::Show:
                Place();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace trevanto

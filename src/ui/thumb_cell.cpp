#include "ui/thumb_cell.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace trevanto::thumb_cell {
namespace {

// Text metrics round; a pixel or two spare keeps the last letter in.
constexpr int kSlack = 2;

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

int CaptionWidth(const QFontMetrics& metrics, const QString& caption) {
    int best = metrics.horizontalAdvance(caption);
    // Greedy wrapping at the width of the wider half keeps to two lines.
    for (qsizetype space = caption.indexOf(' '); space >= 0;
         space = caption.indexOf(' ', space + 1)) {
        const int first = metrics.horizontalAdvance(caption.left(space).trimmed());
        const int second = metrics.horizontalAdvance(caption.mid(space + 1).trimmed());
        best = std::min(best, std::max(first, second));
    }
    return best + kSlack;
}

QSize CellSize(const QFontMetrics& metrics, QSize picture, int captionWidth) {
    const int width = std::max(picture.width(), std::min(captionWidth, kMaxCaptionWidth));
    return {width + 2 * kMargin,
            kMargin + picture.height() + kCaptionGap + 2 * metrics.lineSpacing() + kMargin};
}

QRect Delegate::CaptionRect(const QRect& cell, QSize picture) {
    const int top = cell.top() + kMargin + picture.height() + kCaptionGap;
    return {cell.left() + kMargin, top, cell.width() - 2 * kMargin,
            cell.top() + cell.height() - kMargin - top};
}

QSize Delegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (cell_.isValid())
        return cell_;
    return QStyledItemDelegate::sizeHint(option, index);
}

void Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // The selection and hover background of the whole cell.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

    const QRect cell = item.rect;
    const QPoint pictureAt(cell.left() + (cell.width() - picture_.width()) / 2,
                           cell.top() + kMargin);
    const QIcon::Mode mode = item.state & QStyle::State_Enabled ? QIcon::Normal : QIcon::Disabled;
    item.icon.paint(painter, QRect(pictureAt, picture_), Qt::AlignCenter, mode);

    const bool selected = item.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive,
        selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(CaptionRect(cell, picture_), kTextFlags, item.text);
    painter->restore();

    if (item.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(item);
        focus.rect = cell.adjusted(1, 1, -1, -1);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

}  // namespace trevanto::thumb_cell

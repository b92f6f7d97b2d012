#pragma once
// How the thumbnail view draws one shot: its 100 x 80 picture with the caption
// under it, in a cell as wide as the longest caption needs to be shown whole
// in at most two lines.
#include <QFontMetrics>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

namespace trevanto::thumb_cell {

constexpr int kMargin = 4;      // around the picture and the caption
constexpr int kCaptionGap = 4;  // between the picture and the caption
// A caption wider than this in two lines is cut; its tooltip shows it whole.
constexpr int kMaxCaptionWidth = 320;

// The narrowest width in which the caption shows whole in one line, or in
// two broken at a space.
int CaptionWidth(const QFontMetrics& metrics, const QString& caption);
// The cell of a picture of `picture` size and captions of `captionWidth`.
QSize CellSize(const QFontMetrics& metrics, QSize picture, int captionWidth);

class Delegate : public QStyledItemDelegate {
  public:
    Delegate(QSize picture, QObject* parent) : QStyledItemDelegate(parent), picture_(picture) {}
    void SetCellSize(QSize cell) { cell_ = cell; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Where the caption of a cell at `cell` goes.
    static QRect CaptionRect(const QRect& cell, QSize picture);

  private:
    QSize picture_;
    QSize cell_;
};

}  // namespace trevanto::thumb_cell

#include "ui/thumbnail_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace trevanto {
namespace {

class ThumbnailIconEngine : public QIconEngine {
  public:
    explicit ThumbnailIconEngine(const CompactThumbnail& thumbnail) : thumbnail_(thumbnail) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
               QIcon::State /*state*/) override {
        const QImage picture = thumbnail_.Picture();
        if (!picture.isNull())
            painter->drawImage(rect, picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const QImage picture = thumbnail_.Picture();
        if (picture.isNull())
            return {};
        return QPixmap::fromImage(
            picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    QIconEngine* clone() const override { return new ThumbnailIconEngine(thumbnail_); }

  private:
    const CompactThumbnail thumbnail_;  // shares its bytes with the view's
};

}  // namespace

QIcon ThumbnailIcon(const CompactThumbnail& thumbnail) {
    if (thumbnail.IsNull())
        return {};
    // QIcon takes ownership of its engine.
    return QIcon(new ThumbnailIconEngine(thumbnail));
}

}  // namespace trevanto

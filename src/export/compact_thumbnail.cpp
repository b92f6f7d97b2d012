#include "export/compact_thumbnail.h"

#include <QBuffer>

namespace trevanto {
namespace {

// Sharp enough that a thumbnail written out again as an image shows no
// blocks; a 100 x 80 video picture takes about 3 KB.
constexpr int kQuality = 90;

}  // namespace

CompactThumbnail::CompactThumbnail(const QImage& picture) {
    if (picture.isNull())
        return;
    QBuffer buffer(&jpeg_);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", kQuality))
        jpeg_.clear();
}

QImage CompactThumbnail::Picture() const {
    if (jpeg_.isEmpty())
        return {};
    QImage picture;
    picture.loadFromData(jpeg_, "JPEG");
    return picture.isNull() ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace trevanto

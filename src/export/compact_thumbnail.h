#pragma once
// A shot's thumbnail as it is kept for the whole session: JPEG bytes, a few
// kilobytes where the picture itself takes 24 to 32, decoded when it is
// painted or written. A film of many thousand shots then fits in memory.
#include <QByteArray>
#include <QImage>

namespace trevanto {

class CompactThumbnail {
  public:
    CompactThumbnail() = default;
    // Null for a null picture.
    explicit CompactThumbnail(const QImage& picture);

    bool IsNull() const { return jpeg_.isEmpty(); }
    // The picture decoded again (RGB32); null when there is none.
    QImage Picture() const;
    // The bytes kept.
    qsizetype Bytes() const { return jpeg_.size(); }

  private:
    QByteArray jpeg_;
};

}  // namespace trevanto

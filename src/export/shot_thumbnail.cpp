#include "export/shot_thumbnail.h"

namespace trevanto {

QImage MakeShotThumbnail(const Surface& source, const ShotTemplate& shotTemplate) {
    if (!source.IsValid())
        return {};
    QImage picture = source.ToImage();
    shotTemplate.DrawTemplate(picture, false);
    return picture.convertToFormat(QImage::Format_RGB888);
}

}  // namespace trevanto

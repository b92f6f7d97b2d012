#pragma once
// The 100 x 80 picture of a shot: the thumbnail surface's frame with the shot
// bitmap template drawn over it.
#include <QImage>

#include "export/shot_template.h"
#include "picture/surface.h"

namespace trevanto {

// The thumbnail of the picture in `source` (normally the 100 x 80 thumbnail
// surface), framed by the template when one is loaded. The result has the
// source's size and is 24-bit, QImage::Format_RGB888; null when the source
// is invalid.
QImage MakeShotThumbnail(const Surface& source, const ShotTemplate& shotTemplate);

}  // namespace trevanto

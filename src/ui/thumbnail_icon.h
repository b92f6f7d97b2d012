#pragma once
// The icon of a thumbnail view item: it holds the shot's compact thumbnail
// and decodes it only to paint it, so that thousands of items keep no
// pixmaps.
#include <QIcon>

#include "export/compact_thumbnail.h"

namespace trevanto {

QIcon ThumbnailIcon(const CompactThumbnail& thumbnail);

}  // namespace trevanto

// Thumbnails: capturing the thumbnail surface as a shot's picture, and the
// frame jobs that finish an edit (retaking a picture, rebuilding shots).
#include "app/document/player_doc.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"

namespace trevanto {

bool CPlayerDoc::CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex) {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    const Surface* thumbnail = surfaces_.Thumbnail();
    if (!thumbnail)
        return false;
    const QImage picture = MakeShotThumbnail(*thumbnail, Template());
    if (picture.isNull())
        return false;
    if (add) {
        std::string caption;
        return AddShot(picture, caption, start, end);
    }
    if (imageIndex < 0)
        return false;
    return ports_.view->ReplaceThumbnail(imageIndex, picture);
}

void CPlayerDoc::StartRefresh(int32_t item) {
    refreshJob_.SetItem(item);
    chain_.Start(refreshJob_, 1);
}

void CPlayerDoc::RebuildShots(std::vector<Shot> records) {
    shotsFile_.RebuildShots(std::move(records));
}

}  // namespace trevanto

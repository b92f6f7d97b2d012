// Thumbnails: capturing the thumbnail surface as a shot's picture and
// starting the job that retakes a shot's picture at its start frame.
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

bool CPlayerDoc::RefreshShotImage(int32_t item) {
    return RunEdit({ShotEditKind::Refresh}, true, [&] { return RefreshNow(item); });
}

bool CPlayerDoc::RefreshNow(int32_t item) {
    // The chain owns the one awaited frame; another job would take it.
    if (FrameChainRunning())
        return false;
    if (const Shot* shot = shots_.FindShotByItem(item); shot && IsOpen() && !IsOfOpenVideo(*shot)) {
        ShowMessage(OtherVideoPictureMessage(*shot, player_.OpenedPath()));
        return false;
    }
    refreshJob_.SetItem(item);
    chain_.Start(refreshJob_, 1);
    return true;
}

}  // namespace trevanto
